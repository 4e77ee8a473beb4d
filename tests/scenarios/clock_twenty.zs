# tic_par_min 20 leaves the first minute at 16 ticks: the start minute is never evaluated.
expect clock.day 6
expect clock.hour 23
expect clock.minute 58
set clock.running 1
tick 16
expect clock.minute 58
expect var_1 0
tick
expect clock.minute 59
expect var_2 1
expect special_var_94 58
tick
expect special_var_94 59
# Day 6 at midnight gives day 0.
tick 19
expect clock.day 0
expect clock.hour 0
expect clock.minute 0
expect var_3 1
# In cleaning mode midnight stops the clock and takes it back to its start time.
set clock.cleaning 1
set clock.day 3
set clock.hour 23
set clock.minute 59
tick 19
expect clock.running 1
expect clock.minute 59
tick
expect clock.running 0
expect clock.day 6
expect clock.hour 23
expect clock.minute 58
tick 40
expect clock.minute 58
# Reloading config.txt reads the timetable again (depart sets the time again) and stops the
# clock.
set clock.running 1
set clock.cleaning 1
set clock.hour 12
tick
menu 914
expect clock.running 0
expect clock.cleaning 0
expect clock.hour 23
expect clock.minute 58
expect horo.2.hd_h 0
