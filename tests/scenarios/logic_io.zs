# A truth table, an equation and a pulse driven through the simulation switch.
expect program.length 26
expect tdv.0.start 1
expect tdv.1.start 14
expect tdv.1.on 0
set var_499 1

# in_0 reaches the logic one tick after the switch copies it.
set var_500 1
tick
expect in_0 1
expect out_0 0
tick
expect out_0 1
expect out_1 0

# in_1 alone: no row matches, out_0 keeps its value.
set var_500 0
set var_501 1
tick 2
expect out_0 1
set var_501 0
tick 2
expect out_0 0

# in_2 for one tick: the equation fires pulse 1, which starts at the next tick.
set var_502 1
tick
set var_502 0
tick
expect pulse_cmd_1 1
expect pulse.1.state 0
tick
expect pulse_cmd_1 0
expect pulse.1.state 1
expect pulse.1.count 1
expect led_4 0
tick 2
expect pulse.1.state 2
expect led_4 1
tick 2
expect led_4 1
tick
expect led_4 0
expect pulse.1.state 0

# A table switched off from zir-sim no longer follows its inputs.
set tdv.0.on 0
set var_500 1
tick 2
expect out_0 0
