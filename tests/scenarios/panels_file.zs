# zir-sim's file command, and config_tco.txt written by "Sauver TCO Maintenant" only: a panel
# cell set in the script is in the file, and reads back after a second save.
file notes.txt
file config_tco.txt
set tco.3.2.1.family 2
set tco.3.2.1.variant 4
set tco.3.2.1.txt Gare Nord
set rendu.31.value 13
set cantcolor.105.value 22
menu 943
expect tco.3.2.1.txt Gare Nord
expect cantcolor.105.value 22
