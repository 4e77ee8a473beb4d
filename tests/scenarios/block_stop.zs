# The block stop on cantons 4, 5, 6: slowed to 15 while still on canton 4, stopped with
# deceleration 3 once canton 4 is left, released when train 1 has freed canton 6.
set var_499 1
set var_454 1
set var_456 1
set clav.0.level 2
tick 30
expect train.0.vit 32
expect canton.5.Res2MANU 1
# Train 0 enters canton 5, still detected on canton 4: slowed.
set var_455 1
tick 2
expect canton.5.ResvMANU 1
expect cant.0.state 1
expect train.0.bal_state 1
expect train.0.bal_ral 15
expect train.0.bal_dec 3
expect train.0.cons 15
expect bal_cant_p_5 0
# Canton 4 left: stopped, on the block's deceleration (3 is quicker than the train's 20).
set var_454 0
tick
expect cant.0.state 2
expect train.0.bal_state 2
expect train.0.cons 0
expect bal_cant_p_5 1
expect bal_cant_m_5 0
tick 40
expect train.0.vit 0
expect canton.6.Res2MANU 0
# Train 1 moves on to canton 7 and frees canton 6: the way opens.
set clav.1.level 1
tick
set var_457 1
tick
expect cant.0.state 2
set var_456 0
tick
expect canton.6.num_train -1
tick
expect cant.0.state 0
expect train.0.bal_state 0
expect bal_cant_p_5 0
expect train.0.cons 32
# Train 0 reaches canton 6 itself: its own train ahead does not close the way.
tick 30
expect canton.6.Res2MANU 1
set var_456 1
tick 2
expect canton.6.num_train 0
expect canton.6.ResvMANU 1
expect cant.0.state 0
expect train.0.cons 32
