# The automatic-turnout and block screens: titles, legends, rows and paging of each group,
# AIGAUTO switched off while shown (PAS ACTIF), the halt inhibition line coming and going, and
# the cut of a long list of block conditions after 84 characters.
menu 936
texts
rclick 500 300
expect screen.mode 36
rclick 500 300
expect screen.mode 37
rclick 500 300
expect screen.mode 35
set general.aigauto 0
tick 2
texts
menu 951
texts
click 50 555
expect screen.mode 39
texts
click 50 555
expect screen.mode 38
menu 953
set block.halt_inhibit 1
tick 2
texts
set block.halt_inhibit 0
tick 2
texts
rclick 500 300
expect screen.mode 41
rclick 500 300
expect screen.mode 40
# On an area wide enough, "(QUITTER = ESC)" and the close box keep to the screen's 1100 pixels.
set screen.width 1101
menu 955
texts
rclick 500 300
expect screen.mode 43
rclick 500 300
expect screen.mode 44
texts
rclick 500 300
expect screen.mode 42
click 1090 8
expect screen.mode 0
