# Routes and a split and join through the bus, with detections from the simulation switch
# (det_0..15 follow var_450..465).
set var_499 1
tick 20
expect iti.0.defined 1
expect iti.1.mode 1
expect iti.1.aig2 0
expect iti.1.pos2 0
expect iti.1.start_canton 3
get iti.1.name
# The direct route throws turnout 0 and reports ok once it lies in position 1.
set iti_start_0 1
tick
expect aig_cmd_0 1
expect iti_ok_0 0
tick 8
expect iti_ok_0 1
expect iti_step_0 0
# The on/off route waits for its train on canton 3, then holds its turnouts.
set iti_start_1 1
tick
expect iti_step_1 1
expect iti_wait_1 1
set var_453 1
tick
expect iti_step_1 3
expect aig.1.aig_reserved 1
expect aig.0.aig_reserved 1
# A held turnout refuses the bus: the direct route leaves it alone.
set iti_start_0 1
tick
expect aig_cmd_0 0
tick 20
expect iti_step_1 4
expect iti_ok_1 1
expect iti_wait_1 0
# The train on the stop canton: established for 16 more ticks, then released.
set var_454 1
tick
expect iti_step_1 5
expect iti.1.timer 15
tick 15
expect iti_ok_1 1
tick
expect iti_step_1 0
expect iti_ok_1 0
expect aig.1.aig_reserved 0
# Train 1 stands on cantons 4 and 5: the split leaves its wagons on 5 as entry 31.
set canton.5.num_train 1
set canton.5.ResvMANU 1
set var_455 1
set separe_0 1
tick
expect separe_0 0
expect separe.0.pos_b 5
expect canton.5.num_train 31
expect canton.4.num_train 1
expect train.31.en 1
get train.31.name
# The join gives the wagons back to the train.
set regroupe_0 1
tick
expect regroupe_0 0
expect train.31.en 0
expect canton.5.num_train 1
# The wagons left in siding g1: the siding engine then holds it isolated (relay output 20 at
# its polarity); the join connects it again.
set separe_1 1
tick
expect garage.1.num_train 31
expect train.31.train_garage 1
expect garage_lock_status_1 1
expect out_20 1
expect canton.4.num_train 1
set regroupe_1 1
tick
expect train.31.en 0
expect garage.1.num_train -1
expect garage_lock_status_1 0
expect out_20 0
# A trigger on an entry #iti does not describe is consumed back to -1.
set separe_7 1
tick
expect separe_7 -1
# Reloading config.txt puts every route back to its initial values, and the #depl read that
# follows frees the turnouts they held.
# (its turnouts already lie right and the train is on canton 4: established at once)
set iti_start_1 1
tick
expect iti_step_1 5
expect iti_ok_1 1
expect aig.1.aig_reserved 1
menu 914
expect iti_step_1 0
expect iti_ok_1 0
expect iti.1.defined 1
expect aig.1.aig_reserved 0
expect aig.0.aig_reserved 0
