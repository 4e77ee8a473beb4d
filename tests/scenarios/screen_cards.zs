# args --cards 0,1
# The card test bench on card 1: legends, an output taken by hand, a potentiometer driving a
# canton while another screen is in view, typed register values and their refusal, and a
# fixed speed given back to the bus when the screen is left.
menu 939
click 80 40
expect cardscreen.card 1
# Output 5 is on through the bus; taken by hand it stays on, then a press turns it off.
set out_105 1
rclick 96 75
expect manual.105.out_flag 1
expect manual.105.out 1
click 96 75
expect manual.105.out 0
expect out_105 1
# Potentiometer 102 at 200 drives canton 100 by hand.
card 1 can 2 200
rclick 105 400
click 613 575
expect cardscreen.pot 102
click 105 575
expect manual.100.canton_pot 102
# Canton 101 by hand at a fixed speed from its bar.
rclick 131 400
click 131 380
expect manual.101.canton_speed 19
expect cardscreen.target 101
key *
expect manual.101.canton_speed 29
# Typed values: data of row 1 in decimal, address of row 0 in hexadecimal, a refusal.
click 230 637
key 5
key 1
key 2
key 2
key ENTER
expect direct.6.data 122
click 120 617
key 0
key f
key F
key ENTER
expect direct.5.address 255
click 230 617
key 3
key x
key ENTER
expect direct.5.data 0
expect cardscreen.buffer 000
tick 2
texts
# Leaving: the fixed speed goes back to the bus in the next frame, the knob keeps its canton.
key ESC
tick
expect manual.101.canton_flag 0
expect manual.100.canton_flag 1
expect manual.100.canton_speed 37
expect cardscreen.target -1
frame 1
