# exit 1
# A line of more than 75 tokens in #general: three boxes, then the program stops.
tick
