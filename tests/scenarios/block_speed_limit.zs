# Speed limits per canton and direction. Levels: 1 = 10, 2 = 32, 3 = 64.
set var_499 1
set var_462 1
set var_463 1
expect balauto.vitmax_count 3
# Asking 64 forward on canton 12: held to 30.
set clav.0.level 3
tick
expect train.0.vitmax_lim 30
expect vitmax.0.active 1
expect train.0.vit 30
expect canton.12.Vit_MANU 30
# Asking 10: the canton still receives 30 this tick, so the rule still acts (nothing to cut).
set clav.0.level 1
tick
expect vitmax.0.active 1
expect train.0.vit 10
tick
expect vitmax.0.active 0
expect train.0.vitmax_lim 0
# The wrong direction: no limit.
set clav.0.level -3
tick 2
expect vitmax.0.active 0
expect train.0.vit -64
# Canton 12 inverted: asking -64 is forward in the canton's own direction, held to -30.
set clav.0.level 0
tick 2
set canton.12.Inverse 1
set clav.0.level -3
tick
expect train.0.vitmax_lim -30
expect train.0.vit -30
expect canton.12.Vit_MANU 30
# Two rules on one train: the tightest limit acting wins; the second needs in_3.
set clav.1.level 3
tick
expect train.1.vitmax_lim 20
expect vitmax.2.active 0
set var_503 1
tick
expect train.1.vitmax_lim 15
expect vitmax.1.active 1
expect vitmax.2.active 1
expect train.1.vit 15
