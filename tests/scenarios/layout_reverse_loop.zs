# args --layout
# Train 0 driven forward round a reverse loop: tracking flips the polarity of the canton it
# comes back onto, the virtual layout keeps it moving, and it stops at the stem's end.
key a
key a
tick 120
expect layout.train.0.canton 1
expect canton.1.Inverse 1
expect canton.1.Vit_reel -32
tick 80
expect layout.train.0.canton 0
expect canton.0.Inverse 1
expect layout.train.0.offset 0
