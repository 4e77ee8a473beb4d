# The movement, route and siding lists as the operator works them: titles, legends and pages;
# a movement started while its train is missing, clicked again, then stopped; a direct route
# clicked twice; a siding isolated with its train, then refused while a movement holds it.
menu 921
expect screen.mode 10
texts
# Start: no train on canton 2, so the movement waits (yellow) in state 1.
click 70 46
expect depl.0.start_request 1
tick 2
expect depl.0.state 1
click 70 46
expect depl.0.start_request 1
expect depl.0.state 1
# Stop cancels it: idle again, the request cleared, the row plain.
click 130 46
expect depl.0.stop_request 1
tick 2
expect depl.0.state 0
expect depl.0.start_request 0
texts
# A movement without a start cannot be started from its row.
click 70 118
expect depl.4.start_request 0
# Pages 10 -> 16 -> 10, the last one from the legend box.
rclick 400 300
expect screen.mode 11
rclick 400 300
rclick 400 300
rclick 400 300
rclick 400 300
rclick 400 300
expect screen.mode 16
texts
click 50 605
expect screen.mode 10
key ESC
expect screen.mode 0
# Routes: a direct route clicked twice before the tick stays unrequested and throws nothing.
menu 930
expect screen.mode 19
texts
click 70 44
click 70 44
expect iti.0.start 0
tick 2
expect aig_cmd_0 0
click 70 44
expect iti.0.start 1
tick 2
expect iti.0.start 0
expect aig_cmd_0 1
# An on/off route waits for its train: its stop cancels it.
click 70 98
tick 2
expect iti.3.state 1
expect iti.3.wait 1
texts
click 130 98
tick 2
expect iti.3.state 0
rclick 400 300
expect screen.mode 20
texts
rclick 400 300
expect screen.mode 19
# Sidings: title, columns and legend; siding 1 parks the train of canton 0; held by a movement,
# its Cmd_I is ignored.
menu 928
expect screen.mode 21
texts
click 100 62
expect garage.1.cmd_lock 1
tick 2
expect garage.1.state_lock 1
expect garage.1.num_train 0
texts
set garage.1.res_auto 1
click 100 62
expect garage.1.cmd_lock 1
set garage.1.res_auto 0
click 100 62
expect garage.1.cmd_lock 0
tick 2
expect garage.1.state_lock 0
expect canton.0.num_train 0
# Siding 0 has no train on its canton: the request falls back.
click 100 44
tick 2
expect garage.0.cmd_lock 0
expect garage.0.state_lock 0
