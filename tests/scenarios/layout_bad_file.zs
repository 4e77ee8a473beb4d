# exit 1
# args --layout
# A wrong line in virtual_layout.txt: the emulated cards do not start, nothing runs.
tick
