# A few ticks of the demo layout: the tick counter and some special variables.
get general.width
get general.height
tick 15
get tick
get special_var_0
get special_var_1
get special_var_31
get special_var_32
tick 15
get special_var_31
get special_var_32
get special_var_67
get special_var_73
set arret_urg_on 1
tick
get arret_urg_state
# Turnouts: after start-up each is driven once to its start position, one at a time.
tick 30
get pos0_aig_0
get pos0_aig_1
get pos0_aig_2
set aig_cmd_1 1
tick 3
get out_108
get out_104
tick 5
get pos1_aig_1
# A second rising edge of arret_urg_on ends the emergency stop.
set arret_urg_on 0
tick
set arret_urg_on 1
tick
get arret_urg_state
# Train 0 driven from its keyboard level, followed by the simulated detections (var_450.. for
# det_0..15 when var_499 is 1).
set var_499 1
set var_450 1
set var_454 1
set clav.0.level 2
tick 20
get train.0.vit
get canton.1.Res2MANU
get canton.1.Vit_reel
set var_451 1
tick
set var_450 0
tick 2
get train.0.cantons_txt
# Movement 0 takes the autorail (allowed in automatic runs here, as on the train screen) from
# canton 4 into siding 0, where the contact in_10 (var_510 with the simulation switch) stops it.
set train.1.en_auto 1
set depl_start_run_0 1
tick
get depl.0.state
get depl.0.state_text
get train.1.mode
tick 15
get depl.0.state_text
get depl.0.current_speed
get canton.4.Vitesse
set var_510 1
tick
get depl.0.state_text
tick 20
get depl.0.state
get garage_lock_status_0
get garage.0.num_train
get out_20
get train.1.train_garage
# The model clock, started as its screen will: the timetable switches the station lights on at
# 06:02 and plays the announcement from 06:05 (zir-sim prints the EXEC line instead).
set clock.running 1
tick 25
get clock.hour
get clock.minute
get out_120
tick 12
get clock.minute
get horo.0.comment
# Automatic block and automatic turnouts. Train 0 runs at 64 (keyboard level 3) from canton 1
# to canton 2: having left canton 1 at full speed it throws turnout 0 towards canton 4, and is
# held to 20 on canton 2 while the turnout leads there.
set clav.0.level 3
tick 20
get train.0.vit
set var_452 1
tick
set var_451 0
tick
get aigauto.0.done
get aig_cmd_0
tick 10
get pos1_aig_0
get train.0.vitmax_lim
get train.0.vit
# Train 1 holds canton 4: entering canton 3 while still on canton 2, train 0 is slowed to 15,
# then stopped once it has left canton 2; canton 3's signal variable shows the stop.
set var_453 1
tick 2
get train.0.bal_state
get train.0.cons
set var_452 0
tick
get train.0.bal_state
get bal_cant_p_3
tick 40
get train.0.vit
# Route 0 sets the loop again: turnout 0 back to position 0, ok once it lies there.
set iti_start_0 1
tick 10
get aig_cmd_0
get iti_ok_0
# Route 1 into the dead end: train 0 stands on canton 3, its start canton, so the route holds
# turnout 0 and throws it at once (state 3, wait 1). Canton 4, its stop canton, still reads
# occupied: once turnout 0 lies in position 1 the route is established with its 16-tick release
# delay running (state 5, ok 1), then it releases the turnout (state 0).
set iti_start_1 1
tick
get iti_step_1
get iti_wait_1
tick 10
get iti_step_1
get iti_ok_1
get aig.0.aig_reserved
tick 16
get iti_step_1
get aig.0.aig_reserved
# Siding g0 connected again puts the autorail back on canton 4. Split 0 then leaves its wagons
# in the siding as wagon entry 31; join 0 picks them up again.
set garage_lock_cmd_0 0
tick
get canton.4.num_train
set separe_0 1
tick
get garage.0.num_train
get garage.0.state_lock
get train.31.name
set regroupe_0 1
tick
get train.31.en
get garage.0.state_lock
get canton.4.num_train
# Panel 0 worked with the mouse: a click on turnout 1 throws it; the switch lights led_104
# through #tdv, and so does the push button while it is held down; the arrow opens the train
# table.
key 0
get aig_cmd_1
click 300 100
get aig_cmd_1
click 100 420
tick 2
get led_104
click 100 420
press 140 420
tick 2
get led_104
release 140 420
tick 2
get led_104
click 260 420
get screen_mode
