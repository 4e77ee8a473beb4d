# An OR list, an empty list in both directions, and the panel option that suspends stops.
set var_499 1
set var_459 1
set var_461 1
set clav.2.level 2
tick
expect cant.0.state 0
expect train.2.vit 32
# in_3 alone closes the way.
set var_503 1
tick
expect cant.0.state 2
expect train.2.vit 0
# So does canton 10 occupied by nobody known (detected only), with in_3 back at 0.
set var_503 0
set var_460 1
tick
expect cant.0.state 2
set var_460 0
tick
expect cant.0.state 0
expect train.2.vit 32
# Empty list: stopped forward and backward, each direction with its own signal.
set clav.3.level 1
tick
expect cant.1.state 2
expect cant.2.state 0
expect train.3.vit 0
expect bal_cant_p_11 1
expect bal_cant_m_11 0
set clav.3.level -1
tick
expect cant.1.state 0
expect cant.2.state 2
expect bal_cant_p_11 0
expect bal_cant_m_11 1
# The panel option suspends the stop, not the evaluation.
set block.block_inhibit 1
tick
expect cant.2.state 2
expect train.3.bal_state 2
expect train.3.vit -10
