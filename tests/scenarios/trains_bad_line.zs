# exit 1
# A potentiometer number whose index is 5 (only 0..4 exist on a card) stops the start-up.
tick
