# exit 1
# A truth table with 21 inputs is refused when the logic first runs it, inside a tick: its box
# is shown, the program shuts down in order and exits 1; the rest of the script does not run.
set var_40 1
tick
get var_40
