set var_11 1
set clock.running 1
set clock.countdown 0
set clock.hour 7
set clock.minute 59
# hb +00:00 with a false condition blocks in the evaluation that fires the action.
tick
expect var_1 1
expect horo.0.state 2
expect horo.0.block_h 8
expect horo.0.block_m 0
tick 3
expect clock.blocked 1
expect clock.minute 0
expect special_var_91 1
set var_10 1
tick
expect horo.0.state 0
tick
expect clock.blocked 0
expect clock.minute 1
# Armed at 9:00, blocking from 9:05 while var_11 reads 1.
set clock.hour 8
set clock.minute 59
tick
expect var_2 1
expect horo.1.state 1
expect horo.1.block_h 9
expect horo.1.block_m 5
tick 4
expect clock.minute 4
expect horo.1.state 1
tick
expect horo.1.state 2
tick 2
expect clock.minute 5
expect clock.blocked 1
set var_11 0
tick
expect horo.1.state 0
tick
expect clock.minute 6
# The condition met before the block time: armed, then back to idle without blocking.
set clock.hour 9
set clock.minute 59
tick
expect horo.2.state 1
expect horo.2.block_m 10
tick 3
set var_12 1
tick
expect horo.2.state 0
tick 10
expect clock.blocked 0
expect clock.minute 14
# An inhibited action is skipped: it neither fires nor blocks.
set horo.3.inhibited 1
set clock.hour 23
set clock.minute 49
tick
expect horo.3.state 0
set horo.3.inhibited 0
set clock.minute 49
tick
expect horo.3.state 1
expect horo.3.block_h 0
expect horo.3.block_m 10
tick 20
expect clock.hour 0
expect clock.minute 10
expect horo.3.state 2
tick
expect clock.blocked 1
# Inhibited, the blocking action no longer holds the clock.
set horo.3.inhibited 1
tick
expect clock.blocked 0
expect clock.minute 11
