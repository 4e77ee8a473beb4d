# A detection problem reaches the vibrator two ticks after the detection goes: the switch
# copies var_450 to det_0, then the next tick flags the canton.
set var_499 1
set var_450 1
tick 2
expect vib.start_count 3
expect out_105 1
expect canton.203.Vitesse 0
# Three ticks of problem, then one without: the count starts again from time_before.
set var_450 0
tick 3
expect canton.0.pb_capt_c 1
expect vib.start_count 1
set var_450 1
tick
expect vib.start_count 0
expect vib_state 0
set var_450 0
tick
expect canton.0.pb_capt_c 0
expect vib.start_count 3
# time_before ticks of problem do not start it; the next one does.
tick 3
expect vib_state 0
tick
expect vib_state 1
expect out_105 0
expect canton.203.Vitesse 40
expect canton.203.Vit_reel 40
# It stops after time_after ticks without problem.
set var_450 1
tick 2
expect vib_state 1
tick
expect vib_state 0
expect out_105 1
expect canton.203.Vitesse 0
expect canton.203.Vit_reel 0
# Monitoring off holds the output at its idle level whoever writes it.
set vib_on 0
set out_105 0
tick
expect out_105 1
