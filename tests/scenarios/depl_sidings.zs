# Sidings: isolation and connection by hand, a movement parking its train in a siding and
# another taking it out again.
set var_499 1
set var_452 1
tick
expect garage_lock_status_0 0
expect out_10 0
expect out_11 1
# Isolating siding 1 parks the manual train of canton 2; connecting puts it back.
set garage_lock_cmd_1 1
tick
expect garage_lock_status_1 1
expect garage_lock_cmd_1 1
expect garage.1.num_train 0
expect train.0.train_garage 1
expect canton.2.num_train -1
expect canton.2.ResvMANU 0
expect out_11 0
set garage_lock_cmd_1 0
tick
expect garage_lock_status_1 0
expect garage.1.num_train -1
expect train.0.train_garage -1
expect canton.2.num_train 0
expect canton.2.ResvMANU 1
expect out_11 1
# Movement 0 runs into siding 0: the siding is held, an isolation request is ignored.
set depl_start_run_0 1
tick
expect depl.0.state 8
expect garage.0.res_auto 1
set garage_lock_cmd_0 1
expect garage_lock_cmd_0 0
set var_453 1
set var_452 0
tick 2
# Parked: the siding isolated with the train, its relay switched in the same tick, the cantons
# free.
expect depl.0.state 0
expect depl.0.ended_in_siding 1
expect garage_lock_status_0 1
expect garage_lock_cmd_0 1
expect garage.0.num_train 0
expect garage.0.res_auto 0
expect train.0.train_garage 0
expect out_10 1
expect canton.2.num_train -1
expect canton.3.num_train -1
expect canton.3.ResvMANU 0
# Movement 1 takes it out: held from its start, so a connect request in the start delay is
# ignored; the siding is left when the cantons are powered.
set depl_start_run_1 1
tick
expect depl.1.state 3
expect garage.0.res_auto 1
set garage_lock_cmd_0 0
expect garage_lock_cmd_0 1
tick 9
expect garage_lock_status_0 1
expect canton.3.num_train 0
tick
expect depl.1.state 8
expect garage_lock_status_0 0
expect garage_lock_cmd_0 0
expect garage.0.num_train -1
expect train.0.train_garage -1
expect out_10 0
expect canton.3.Vit_AUTO -20
set var_452 1
set var_453 0
tick 2
expect depl.1.state 0
expect garage.0.res_auto 0
expect canton.2.ResvMANU 1
expect canton.2.num_train 0
expect train.0.mode SEL
