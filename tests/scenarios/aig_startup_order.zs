# After start-up every command is 0 and no position is known: the sequencer drives each
# defined turnout once, one after the other, six ticks each (the first tick is tick 0).
tick
expect aigseq.current 2
expect aigseq.state 1
expect aigseq.count 1
tick 5
expect pos0_aig_2 0
expect aigseq.state 3
tick
# tick 6
expect pos0_aig_2 1
expect pos1_aig_2 0
expect aigseq.state 0
expect aigseq.current 2
tick
# tick 7
expect aigseq.current 5
expect aigseq.state 1
tick 5
expect pos0_aig_5 0
tick
# tick 13
expect pos0_aig_5 1
expect aigseq.state 0
tick
# tick 14
expect aigseq.current 9
tick 5
expect pos0_aig_9 0
tick
# tick 20
expect pos0_aig_9 1
expect pos0_aig_2 1
expect pos0_aig_5 1
expect aig.9.defined 1
expect aig.3.defined 0
tick 3
expect aigseq.state 0
expect aigseq.current 9
expect pos0_aig_3 0
