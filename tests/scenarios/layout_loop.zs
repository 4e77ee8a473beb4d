# args --layout
# Train 0 of the demo layout driven from the keyboard round the loop of the virtual layout:
# tracking follows the detections the layout gives, canton by canton, with no detection set
# by this script.
tick 40
key a
key a
tick 25
# Head on canton 1, tail still on canton 0: both detected and held, canton 2 reserved ahead.
expect layout.train.0.canton 1
expect layout.train.0.tail_canton 0
expect det_0 1
expect det_1 1
expect canton.0.ResvMANU 1
expect canton.1.ResvMANU 1
expect canton.2.Res2MANU 1
expect canton.2.num_train 0
# The tail has left canton 0: it is freed and switched off.
tick 15
expect layout.train.0.tail_canton 1
expect det_0 0
expect canton.0.ResvMANU 0
expect canton.0.num_train -1
expect canton.0.Vit_reel 0
expect canton.1.Vit_reel 32
# Round the loop through cantons 2 and 3 and back on canton 0.
tick 120
expect layout.train.0.canton 0
expect layout.train.0.tail_canton 3
expect canton.0.ResvMANU 1
expect canton.3.ResvMANU 1
expect canton.1.Res2MANU 1
tick 20
expect layout.train.0.tail_canton 0
expect canton.3.ResvMANU 0
