# From the first tick the special variables show the clock at its start time, stopped.
tick
expect special_var_90 0
expect special_var_93 5
expect special_var_95 300
expect exe.count 3
get exe.3.text
# A trigger from the bus runs once and goes back to 0.
set exe_3 1
tick
expect exe_3 0
tick
# Arguments that cannot be split start nothing (the log says why).
set exe_5 1
tick
expect exe_5 0
# The first running tick evaluates the timetable at the start time.
set clock.running 1
tick
expect var_1 1
expect clock.countdown 15
tick
expect clock.countdown 14
# Stopped right after a minute change, the evaluation repeats in every tick: the action fires
# again each time.
set clock.running 0
set clock.countdown 15
set var_1 0
tick 2
expect var_1 1
expect clock.minute 0
