# The texts of the overlays: the render settings page, the variable help (39 lines at 10,
# 40 + 16i) and the editor with a servo command in its buffer: its fields, a variable's label
# and its help lines.
menu 942
tick 2
texts
menu 916
tick 2
texts
menu 941
set editor.family 2
set editor.variant 8
set editor.v1 8102
set editor.opt 30
set editor.txt SRV AIGUILLE
tick 2
texts
