# exit 1
# A failed expect prints its line and the run exits 1; the script still runs to its end.
set var_3 2
expect var_3 5
expect var_3 2
get var_3
