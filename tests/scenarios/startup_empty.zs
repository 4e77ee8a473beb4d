# An empty config.txt: every section absent, every table at its defaults.
tick 4
expect tick 4
expect screen_mode 0
expect general.width 800
expect special_var_2 1
set var_12 -7
get var_12
get 5412
set arret_urg_on 1
tick
expect arret_urg_state 1
