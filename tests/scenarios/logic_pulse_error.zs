# exit 1
# A negative pulse time ends the start-up with the pulse error box.
tick
