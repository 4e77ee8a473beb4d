# exit 1
tick
