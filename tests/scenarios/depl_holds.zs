# What keeps a movement waiting, and what a stop request does in each phase.
set var_499 1
set var_450 1
set var_454 1
set var_455 1
tick
# A movement that #depl does not describe cannot be started or stopped.
set depl_start_run_9 1
set depl_stop_9 1
expect depl_start_run_9 0
expect depl.9.stop_request 0
# Two different manual trains on start and start2: neither counts.
set depl_start_run_0 1
tick
expect depl.0.state 1
expect depl.0.train -1
# A stop request while waiting clears the start request.
set depl_stop_0 1
tick
expect depl.0.state 0
expect depl_start_run_0 0
# A train not allowed in automatic runs keeps the movement waiting.
set depl_start_run_1 1
tick 2
expect depl.1.state 1
expect depl.1.train 2
expect canton.5.ResvAUTO 0
set train.2.en_auto 1
tick
expect depl.1.state 7
expect canton.5.Vit_AUTO 20
# The passage variable lets it on to watch for the arrival.
set var_6 1
tick
expect depl.1.state 8
# A stop request while running lets go at once: no braking, the train manual where it is seen.
set depl_stop_1 1
tick
expect depl.1.state 0
expect depl_start_run_1 0
expect depl.1.current_speed 0
expect canton.5.Vit_AUTO 0
expect canton.5.Vitesse 0
expect canton.5.ResvAUTO 0
expect canton.5.ResvMANU 1
expect canton.1.ResvAUTO 0
expect canton.1.ResvMANU 0
expect train.2.mode SEL
# A movement requiring train 0 does not take train 1 on its start canton.
set depl_start_run_3 1
tick
expect depl.3.state 1
expect depl.3.train 1
set depl_stop_3 1
set depl_start_run_2 1
tick
expect depl.2.state 8
# With libe given, the arrival alone does not end the run while libe reads 1.
set var_5 1
set var_452 1
tick 2
expect depl.2.state 8
set var_5 0
tick
expect depl.2.state 10
expect depl.2.timer 20
# A stop request in the stop delay: released in the same tick, end variables untouched.
set var_1 7
set var_2 7
set var_450 0
set var_452 0
set depl_stop_2 1
tick
expect depl.2.state 0
expect var_1 7
expect var_2 7
expect canton.0.ResvAUTO 0
expect canton.2.ResvAUTO 0
expect canton.2.Vit_AUTO 0
# Seen on no canton of its list: the train becomes manual on the last one.
expect canton.2.ResvMANU 1
expect canton.2.num_train 0
expect canton.0.ResvMANU 0
expect train.0.mode SEL
