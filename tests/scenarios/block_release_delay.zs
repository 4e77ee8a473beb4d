# The release delay of #balauto: a canton left behind is freed on the third tick without
# detection.
expect tempo_libe_cant 3
set var_499 1
set var_450 1
set clav.0.level 1
tick
set var_451 1
tick
expect canton.1.ResvMANU 1
set var_450 0
tick 2
expect canton.0.ResvMANU 1
expect canton.0.libe_count 2
tick
expect canton.0.ResvMANU 0
expect canton.0.num_train -1
