# args --cards 0
# Turning an emulated potentiometer drives the train: its canton's speed byte and direction
# bit reach the card in the next frame.
card 0 can 0 128
tick 3
get canton.2.Vit_reel
frame 0
card 0 can 0 230
tick 3
get canton.2.Vit_reel
frame 0
card 0 can 0 50
tick 3
get canton.2.Vit_reel
frame 0
