# The clock screens as the operator sees them: the clock and its settings, the timetable pages,
# an action inhibited while it blocks the clock, Départ of an action at midnight, an external
# action run from its row, and the vibrator.
set screen.width 1101
menu 929
texts
# M-1 at 0 leaves the minute at 0; J+2 at 5 gives 6; tic/mn -5 at 3 gives 1.
click 404 210
expect clock.minute 0
set clock.day 5
click 224 150
expect clock.day 6
set clock.tic_par_min 3
click 491 230
expect clock.tic_par_min 1
set clock.tic_par_min 16
set clock.day 0
# Cleaning on runs the clock from 05:00 where only the cleaning action fires; off stops it.
click 480 450
expect clock.running 1
tick 2
expect var_5 1
expect var_1 0
click 480 450
expect clock.running 0
expect clock.cleaning 0
# PAS BLOQUÉE opens the timetable; its pages run 49 to 56 and back to 49.
click 680 450
expect screen.mode 49
texts
rclick 400 300
expect screen.mode 50
rclick 400 300
rclick 400 300
rclick 400 300
rclick 400 300
rclick 400 300
rclick 400 300
expect screen.mode 56
texts
click 50 590
expect screen.mode 49
# Action 4 blocks the clock at 05:03; inhibiting it frees the clock.
set clock.minute 2
set clock.countdown 0
set clock.running 1
tick 2
expect horo.4.state 2
expect clock.blocked 1
texts
click 100 101
expect horo.4.inhibited 1
expect horo.4.state 0
tick
expect clock.blocked 0
# Départ of the day-6 action at 00:00: the clock stands at -1:59 of day 6, then fires it.
click 150 69
expect clock.day 6
expect clock.hour -1
expect clock.minute 59
tick 2
expect clock.hour 0
expect var_3 1
# An external action runs from its row; a row without text does nothing.
menu 958
click 300 36
tick
expect exe_0 0
click 300 52
expect exe_1 0
rclick 400 300
texts
click 300 52
tick
# The vibrator: its times never go below 0, and DÉMARRER.
menu 949
click 100 390
click 100 390
click 100 390
expect vib.time_after 0
click 230 350
expect vib.time_before 4
click 380 350
expect vib_on 1
set clock.running 0
tick 2
texts
