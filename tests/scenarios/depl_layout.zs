# args --layout
# A movement on the virtual layout: it throws turnout 0 and waits for the sequencer, drives
# train 0 from canton 3 into canton 4 with its inertia, and stops it when canton 4 detects it.
set depl_start_run_0 1
tick
expect depl.0.state 5
expect aig_cmd_0 1
expect aig.0.aig_reserved 1
tick 20
expect pos1_aig_0 1
expect depl.0.state 8
tick 150
expect depl.0.state 0
expect layout.train.0.canton 4
expect canton.4.ResvMANU 1
expect train.0.mode SEL
expect aig.0.aig_reserved 0
