# args --cards 1
# Menu 915 looks for the cards again: a card that went silent is let go, then found again.
expect card.1.linked 1
card 1 silent
menu 915
expect card.1.linked 0
card 1 resume
menu 915
expect card.1.linked 1
card 1 det 3 1
tick
expect det_103 1
