# exit 2
# A field that an engine uses as an index or a clock takes only the values it can hold:
# the script stops with an error instead of crashing the run.
set remote.clav 4
get remote.clav
set remote.clav 5
