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
