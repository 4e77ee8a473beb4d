# A train driven from the keyboard level, followed from canton to canton by the detections of
# the simulation switch (det_0..15 follow var_450..465).
set var_499 1
set var_460 1
tick
expect canton.10.ResvMANU 1
expect canton.11.Res2MANU 0
set clav.0.level 2
tick
expect train.3.vit 32
# The next canton is reserved and powered in the tick the train moves.
expect canton.11.Res2MANU 1
expect canton.11.num_train 3
expect canton.11.Vit_reel 30
expect canton.10.Vit_reel 30
expect det2_10 1
expect det2p_10 1
expect det2_11 0
# Detection on the reserved canton makes it a main canton; the reverse rule reserves 12.
set var_461 1
tick
expect canton.11.ResvMANU 1
expect canton.12.Res2MANU 1
expect canton.12.Inverse 1
expect canton.12.Vit_reel -30
expect det2m_12 0
# The canton left behind is freed on the first tick without detection (no release delay).
set var_460 0
tick
expect canton.10.ResvMANU 0
expect canton.10.num_train -1
expect canton.10.Vit_reel 0
expect det2_10 0
tick
get train.3.cantons_txt
get train.3.capt
# Seen nowhere: the train keeps its cantons and is flagged lost.
set var_461 0
tick 2
expect canton.11.ResvMANU 1
expect pb_capt_t_3 1
expect pb_capt_c_11 1
get train.3.capt
