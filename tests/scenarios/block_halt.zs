# A halt stops the train dead, forward only, while in_3 is 1; the panel option suspends it.
set var_499 1
set var_455 1
set clav.0.level 2
tick
expect train.0.vit 32
expect halt.0.active 0
set var_503 1
tick
expect halt.0.active 1
expect train.0.halt_flag 1
expect train.0.vit 0
expect train.0.cons 32
# Inhibited from the panel: still evaluated, no longer applied.
set block.halt_inhibit 1
tick
expect train.0.halt_flag 1
expect train.0.vit 32
set block.halt_inhibit 0
tick
expect train.0.vit 0
# Backwards: the rule is for forward travel only.
set clav.0.level -2
tick 2
expect halt.0.active 0
expect train.0.halt_flag 0
expect train.0.vit -32
