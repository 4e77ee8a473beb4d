# Turnout 3 reaches 0 after start-up (ticks 0..6), is sent to 1, and back to 0 during the act
# phase: the move to 1 runs to its end, shows pos1 for one tick, then a full move to 0 follows.
tick 7
expect pos0_aig_3 1
expect out_105 0
set aig_cmd_3 1
tick
# tick 7: prepare 1
expect pos0_aig_3 0
expect pos1_aig_3 0
expect out_106 1
expect out_104 0
tick
# tick 8: act
expect aigseq.state 2
expect out_104 1
set aig_cmd_3 0
tick
# tick 9: still acting towards 1
expect aigseq.state 2
expect out_104 1
expect out_106 1
tick
# tick 10: release
expect out_106 0
expect out_104 1
expect pos1_aig_3 0
tick
# tick 11: done in the old direction, rest outputs back
expect pos1_aig_3 1
expect pos0_aig_3 0
expect out_104 0
expect aigseq.state 0
tick
# tick 12: both flags cleared, the move to 0 starts
expect pos1_aig_3 0
expect pos0_aig_3 0
expect aigseq.state 1
expect out_105 1
tick 5
expect pos0_aig_3 0
tick
# tick 18
expect pos0_aig_3 1
expect pos1_aig_3 0
expect out_104 0
expect out_105 0
expect out_106 0
