# Working panel 0 with the mouse: a switch, a route button's right click, and the canton
# selection that starts a movement, with its countdowns. Detections through the simulation
# switch (det_0..15 follow var_450..465).
set var_499 1
set var_450 1
tick
set tco.0.0.1.family 2
set tco.0.0.1.variant 1
set tco.0.0.1.v1 5405
click 20 60
expect var_5 1
click -20 60
expect var_5 1
set tco.0.1.1.family 2
set tco.0.1.1.variant 2
set tco.0.1.1.v1 5406
set var_6 1
rclick 60 60
expect var_6 0
# Occupancy lamps of cantons 0 and 1.
set tco.0.0.0.family 3
set tco.0.0.0.variant 0
set tco.0.0.0.cant 0
set tco.0.1.0.family 3
set tco.0.1.0.variant 0
set tco.0.1.0.cant 1
# A selection left alone runs out after 50 ticks and shows no result.
press 20 20
expect tcoact.held 1
expect tcoact.countdown 50
expect tcoact.source 0
expect tcoact.destination -1
release 20 20
expect tcoact.held 0
tick 49
expect tcoact.countdown 1
tick
expect tcoact.countdown 0
expect tcoact.result_countdown 0
# Two clicks: the movement from canton 0 to canton 1 is asked to start.
click 20 20
click 60 20
expect tcoact.countdown 0
expect tcoact.result 1
expect tcoact.destination 1
expect tcoact.result_countdown 20
expect depl_start_run_1 1
tick
expect depl.1.state 8
tick 20
expect tcoact.result_countdown 0
