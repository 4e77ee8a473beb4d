# The texts of panel blocks: canton information (name halves, the train number for a name that
# is not 8 characters, the state letter and speed, " PB "/"CAPT" for a train detected nowhere),
# the clock, text and value, the servo label, multi-function lists.
set var_499 1
set train.1.name AUTORAI
set var_450 1
set tco.0.0.0.family 3
set tco.0.0.0.variant 2
set tco.0.0.0.cant 0
set tco.0.1.0.family 3
set tco.0.1.0.variant 2
set tco.0.1.0.cant 1
set tco.0.2.0.family 3
set tco.0.2.0.variant 8
set clock.running 1
set clock.day 3
set clock.hour 7
set clock.minute 5
set tco.0.3.0.family 2
set tco.0.3.0.variant 9
set tco.0.3.0.v1 5403
set tco.0.3.0.txt SRV 03  POS.        
set var_3 1500
set tco.0.4.0.family 2
set tco.0.4.0.variant 8
set tco.0.4.0.v1 8102
set tco.0.4.0.txt ........AIGUILLE
set tco.0.5.0.family 2
set tco.0.5.0.variant 10
set tco.0.5.0.opt 4
set tco.0.6.0.family 2
set tco.0.6.0.variant 10
set tco.0.6.0.opt 2
set iti.7.state 1
set iti.12.state 3
set arret_urg_on 1
tick 2
expect tco.blink 1
texts
# Blink bit 2: the lost train's lines and the clock's dots.
tick 8
texts
