# Typed keys drive the train through the window's key handling: 'a' faster, 'z' stop,
# 'e' slower (backwards past 0). A screen key still switches screens afterwards.
key a
tick
expect clav.0.level 1
expect canton.0.Vitesse 10
key a
key a
tick
expect clav.0.level 3
expect canton.0.Vit_reel 64
key z
tick
expect clav.0.level 0
expect canton.0.Vitesse 0
key e
key e
tick
expect clav.0.level -2
expect canton.0.Vitesse -32
key 8
expect screen_mode 8
