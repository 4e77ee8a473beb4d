# args --layout
# The sequencer throws turnout 0 to the siding: the virtual layout's blades follow its motor
# outputs and its contact reports them. Train 0 runs into canton 4 and stops at the dead end;
# driven backwards it runs back out into canton 3.
set aig_cmd_0 1
tick 20
expect layout.aig.0.position 1
expect pos1_aig_0 1
expect in_112 1
key a
key a
tick 100
expect layout.train.0.canton 4
expect layout.train.0.offset 60
expect canton.4.ResvMANU 1
key z
key e
key e
tick 60
expect layout.train.0.canton 3
expect canton.3.ResvMANU 1
