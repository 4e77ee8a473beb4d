# Movements on a line of cantons, detections through the simulation switch (det_0..15 follow
# var_450..465).
set var_499 1
set var_450 1
set var_453 1
tick
expect canton.0.ResvMANU 1
expect depl.1.state 0
# Movement 1: states 1, 2, 4, 5, 6, 7 and 8 in the tick of the start request.
set depl_start_run_1 1
tick
expect depl.1.state 8
expect depl.1.train 0
expect train.0.mode AUTO
expect canton.0.ResvAUTO 1
expect canton.0.ResvMANU 0
expect canton.1.ResvAUTO 1
expect canton.1.num_train 0
# Without inertia the train runs at the speed of the canton that sees it.
expect depl.1.target_speed 30
expect depl.1.current_speed 30
expect canton.0.Vit_AUTO 30
expect canton.0.Vitesse 30
expect canton.1.Vitesse 30
expect depl_start_run_1 1
# Arrival on the last canton: its speed alone, then stop and release in the next tick.
set var_451 1
set var_450 0
tick
expect depl.1.state 11
expect depl.1.current_speed 0
tick
expect depl.1.state 0
expect depl_start_run_1 0
expect train.0.mode SEL
expect canton.1.ResvAUTO 0
expect canton.1.ResvMANU 1
expect canton.1.Vit_AUTO 0
expect canton.0.ResvMANU 0
expect canton.0.ResvAUTO 0
# Movement 2 waits while the train is not on its start canton.
set depl_start_run_2 1
tick
expect depl.2.state 1
expect depl.2.train -1
# Back on canton 0 (hand-placed as a manual main canton): start variables, a 1 s delay of 10
# ticks between the tick of state 2 and the tick of state 4.
set canton.1.ResvMANU 0
set canton.1.num_train -1
set canton.0.num_train 0
set canton.0.ResvMANU 1
set var_451 0
set var_450 1
set var_11 7
set var_13 7
set srv_cmd_12 20
tick
expect depl.2.state 3
expect depl.2.timer 9
expect var_10 1
expect var_11 0
expect var_12 1
expect var_13 7
expect aig.5.aig_reserved 1
expect servo.2.reserved 1
# The bus refuses what the movement holds.
set aig_cmd_5 1
expect aig_cmd_5 0
set srv_cmd_2 100
expect srv_cmd_2 512
tick 9
expect depl.2.state 3
expect depl.2.timer 0
expect aig_cmd_5 0
tick
expect depl.2.state 5
expect aig_cmd_5 1
expect srv_cmd_2 600
# The sequencer moves the turnout meanwhile, the servo ramps at its speed.
tick 3
expect pos1_aig_5 1
expect depl.2.state 5
tick 2
expect srv_pos_2 600
expect depl.2.state 8
expect canton.2.Vit_AUTO -30
expect canton.0.Vit_AUTO 30
# Seen on cantons 0 and 1: the average of 30 and 40; on 1 and 2: 2 is last, its 20 alone.
# The arrival variable is var_30.
set var_451 1
tick
expect depl.2.target_speed 35
set var_450 0
set var_452 1
tick
expect depl.2.target_speed 20
expect depl.2.current_speed 20
expect canton.2.Vit_AUTO -20
expect canton.1.Vit_AUTO 20
set var_30 1
tick
expect depl.2.state 11
tick
expect depl.2.state 0
expect var_13 1
expect var_12 0
expect var_11 0
expect var_10 1
expect aig.5.aig_reserved 0
expect servo.2.reserved 0
expect canton.1.ResvMANU 1
expect canton.2.ResvMANU 1
expect canton.2.num_train 0
# Movement 3 drives train 1 backwards under inertia: the global acceleration 4 (10 a tick)
# beats the train's 14; its own deceleration 14 (2 a tick) stays.
expect depl.acc 4
expect depl.dec -1
# Canton 2 is still a main canton of train 0: the start waits.
set depl_start_run_3 1
tick
expect depl.3.state 1
expect depl.3.train 1
set var_452 0
set canton.2.ResvMANU 0
set canton.2.num_train -1
tick
expect depl.3.state 8
expect depl.3.current_speed 10
expect canton.3.Vit_AUTO -10
expect canton.3.Vitesse -10
tick 4
expect depl.3.current_speed 40
# The halt stops the train at once; during the 1 s stop delay the speed step drives it again.
set var_20 1
tick
expect depl.3.state 10
expect depl.3.timer 9
expect depl.3.current_speed 10
tick 9
expect depl.3.state 10
expect depl.3.current_speed 40
# Then it brakes with its deceleration to a stand before the release delay.
tick
expect depl.3.state 11
expect depl.3.current_speed 38
tick 18
expect depl.3.state 11
expect depl.3.current_speed 2
tick
expect depl.3.current_speed 0
tick
expect depl.3.state 13
expect canton.3.Vit_AUTO 0
expect canton.3.ResvAUTO 1
tick 10
expect depl.3.state 0
expect canton.3.ResvMANU 1
expect train.1.mode SEL
# A halt without stop delay: the train stands at once and the run ends in the same tick.
set depl_start_run_4 1
tick 3
expect depl.4.state 8
expect depl.4.current_speed 30
set var_21 1
tick
expect depl.4.state 0
expect depl.4.current_speed 0
expect canton.3.Vit_AUTO 0
expect canton.3.Vitesse 0
expect canton.3.ResvMANU 1
