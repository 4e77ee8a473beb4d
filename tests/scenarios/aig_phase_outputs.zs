# Turnout 5 moved to 0: outputs 10/11 at the end of each tick read 1/0 for two ticks,
# 1/1 for three, 0/1 for one, then 0/0 with the position known.
tick
expect out_10 1
expect out_11 0
tick
expect out_10 1
expect out_11 0
tick
expect out_10 1
expect out_11 1
tick
expect out_10 1
expect out_11 1
tick
expect out_10 1
expect out_11 1
expect pos0_aig_5 0
tick
expect out_10 0
expect out_11 1
expect pos0_aig_5 0
tick
expect out_10 0
expect out_11 0
expect pos0_aig_5 1
expect aigseq.state 0
# While nothing moves the rest outputs are held, whatever else writes them.
set out_11 1
set out_10 1
tick
expect out_11 0
expect out_10 1
