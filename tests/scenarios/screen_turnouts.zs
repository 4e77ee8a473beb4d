# The turnout screen: its rows and the durations of turnout 63 (190 and 285 ms), a click on an
# undefined turnout, a turnout reserved here that the bus refuses to throw while the screen
# still throws it, and paging.
tick 30
menu 917
texts
# Turnout 5 is not defined: its command changes, nothing moves.
click 90 131
expect aig.5.aig_cmd 1
tick 10
expect aig.5.pos0_aig 0
expect aig.5.pos1_aig 0
# Turnout 1, reserved here, is refused by the bus.
click 280 59
expect aig.1.aig_reserved 1
set aig_cmd_1 1
expect aig.1.aig_cmd 0
file Train_ZIR_log.txt
click 90 59
expect aig.1.aig_cmd 1
tick 10
expect aig.1.pos1_aig 1
texts
rclick 400 300
expect screen.mode 23
texts
click 50 585
expect screen.mode 22
click 790 8
expect screen.mode 0
