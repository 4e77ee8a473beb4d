# The editor through zir-sim: "+" opens it, the palette and the fields fill the buffer, typed
# digits and text, BACKSPACE, a placement outside the window, CTRL-Z, and the copy of a cell
# to another panel with a right click. The buffer and the selected field are fields.
expect screen.panel_mode none
key +
expect screen.panel_mode A
expect editor.family -1
# Palette column 2, row 7: the switch.
click 100 300
expect editor.family 2
expect editor.variant 1
click 60 425
expect editor.field v1
key 5
key 4
key 1
key 9
key BACKSPACE
expect editor.v1 541
key 2
click 100 525
expect editor.field txt
key L
key A
key M
key P
expect editor.txt LAMP
# "3" is typed into the field, it does not switch panels while the editor is open.
key 3
expect screen.mode 0
expect editor.txt LAMP3
key BACKSPACE
# Any other click in the window ends the typing.
click 10 395
expect editor.field none
click 500 130
expect tco.0.12.3.family 2
expect tco.0.12.3.v1 5412
expect tco.0.12.3.txt LAMP
key CTRL-Z
expect tco.0.12.3.family -1
click 500 130
rclick 500 130
set editor.v1 -1
menu 907
expect screen.panel_mode A
rclick 1000 900
expect editor.family -1
menu 905
rclick 500 130
expect editor.v1 5412
menu 907
click 1000 900
expect tco.2.25.22.v1 5412
key ESC
expect screen.panel_mode none
expect screen.mode 2
