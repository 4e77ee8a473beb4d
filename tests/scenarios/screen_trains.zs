# The train list: its legends and columns, a wagon added in three steps, its profile and name
# edited, and the refusal of a canton held by another train.
menu 945
texts
click 650 50
expect screen.mode 57
click 10 185
expect train.20.name WGON[20]
expect trainscreen.dialog 1
click 30 465
expect train.20.color 20
click 5 465
expect trainscreen.dialog 2
get train.20.en
key a
expect clav.0.level 0
click 155 465
expect trainscreen.dialog 3
click 105 565
expect trainscreen.dialog 0
# VMAX 12 -10 gives 6; ACC xx +1 gives 1.
click 310 185
click 105 485
click 105 485
click 105 485
click 105 485
click 105 485
click 155 485
click 155 485
expect train.20.vmax 12
click 105 485
expect train.20.vmax 6
click 255 505
expect train.20.acc 1
click 405 545
expect trainscreen.dialog 0
# "8" typed into the name goes to the name.
click 60 185
key 8
key A
key ENTER
expect screen.mode 57
get train.20.name
tick 2
texts
