# Turnouts thrown ahead of a hand-driven train, through the sequencer.
expect aigauto.count 1
expect general.aigauto 1
# Turnouts 4 and 7 go to position 1 first.
set aig_cmd_4 1
set aig_cmd_7 1
tick 12
expect pos1_aig_4 1
expect pos1_aig_7 1
expect pos0_aig_8 1
set var_499 1
set var_459 1
set clav.0.level 1
tick
expect canton.10.Res2MANU 1
set var_460 1
tick 2
# On canton 10 at 10 (at least 5), but still detected on canton 9: nothing yet.
expect canton.10.ResvMANU 1
expect aigauto.0.done 0
expect aig_cmd_7 1
set var_459 0
tick
expect aigauto.0.done 1
expect aig_cmd_7 0
expect aig_cmd_8 1
tick 6
expect pos0_aig_7 1
expect pos1_aig_8 1
# Once per passage: turnout 8 thrown back by hand stays where it is.
set aig_cmd_8 0
tick 3
expect pos0_aig_8 1
expect aig_cmd_8 0
expect aigauto.0.done 1
# Re-armed once the train stands still (the canton still receives 10 in the first tick); it
# fires again when the train moves on (7 is left alone).
set clav.0.level 0
tick
expect aigauto.0.done 1
tick
expect aigauto.0.done 0
set clav.0.level 1
tick
expect aigauto.0.done 1
expect aig_cmd_8 1
expect aig_cmd_7 0
tick 3
expect pos1_aig_8 1
# With automatic turnouts off nothing is evaluated: done stays as it is.
set general.aigauto 0
set clav.0.level 0
tick 2
expect aigauto.0.done 1
set general.aigauto 1
tick
expect aigauto.0.done 0
# A turnout locked by a route or movement is retried until it is free.
set aig_cmd_8 0
tick 3
expect pos0_aig_8 1
set aig.8.aig_reserved 1
set clav.0.level 1
tick
expect aigauto.0.done 0
expect aig_cmd_8 0
tick
expect aigauto.0.done 0
set aig.8.aig_reserved 0
tick
expect aigauto.0.done 1
expect aig_cmd_8 1
