# args --cards 0,2
# Emulated cards 0 and 2 behind COM1: inputs reach the bus through the answers, outputs,
# LEDs and servos leave in the frames, a lost answer is recovered, a silent card is let go
# (and asked for once more when the shutdown sends it the switch-off frame).
expect port.com 1
expect card.0.linked 1
expect card.1.linked 0
expect card.2.linked 1
card 2 det 5 1
card 2 in 2 1
card 2 in 41 1
card 2 can 3 200
set out_207 1
set out_241 1
set led_210 1
set led_cli_230 1
set srv_cmd_200 1023
set srv_cmd_210 600
tick
expect det_205 1
expect in_202 1
expect in_241 1
expect can_203 200
expect srv_pos_200 1023
frame 2
frame 0
# One answer dropped: the drain and the second send bring it within the same tick.
card 2 drop 1
card 2 det 5 0
tick
expect det_205 0
expect port.errors 1
expect card.2.linked 1
# A card that never answers: four time-outs, then the box; No unlinks it.
card 2 silent
card 2 det 6 1
answer no
tick
expect card.2.linked 0
expect port.errors 5
expect det_206 0
expect card.0.linked 1
