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
