# The logic screens as the operator sees them: the truth table with its live values, the off
# table, a pulse fired by a press on its row, variables by label index and internal number,
# and the servos.
set var_455 3
menu 944
texts
rclick 400 300
expect tdvscreen.table 1
texts
menu 961
texts
click 300 118
expect pulse_cmd_5 1
tick 2
expect pulse.5.state 1
texts
menu 947
click 300 300
expect varscreen.internal 1
tick 2
get var_455
menu 940
texts
set srv_cmd_10 10
set srv_cmd_11 -4
tick 2
texts
