# exit 1
# #aigauto is read before #balauto: its error is the one shown.
tick
