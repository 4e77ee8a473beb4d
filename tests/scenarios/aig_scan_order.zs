# Shortest sequences: a turnout selected in tick S is in position in tick S + 1.
tick 6
expect pos0_aig_3 1
expect pos0_aig_5 1
expect pos0_aig_7 1
set aig_cmd_5 1
tick 2
expect pos1_aig_5 1
expect aigseq.current 5
# 7 and 3 wait; the scan starts after 5, so 7 comes first, then 3. Turnout 3 is reserved
# and thrown by its holder: the sequencer moves it all the same.
set aig.3.aig_reserved 1
set aig.3.aig_cmd 1
set aig_cmd_7 1
tick
expect aigseq.current 7
expect pos0_aig_3 0
tick
expect pos1_aig_7 1
expect pos1_aig_3 0
tick
expect aigseq.current 3
tick
expect pos1_aig_3 1
