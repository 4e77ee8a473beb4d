# exit 2
# The rule tables as zir-sim shows them. Without a driven train nothing is evaluated. The
# rules come from config.txt: setting one stops the script.
get balauto.vitmax_count
get balauto.halt_count
get tempo_libe_cant
get vitmax.0.canton
get vitmax.0.limit
get vitmax.0.active
get vitmax.0.var1
get vitmax.0.val1
get vitmax.0.var2
get vitmax.0.var3
get vitmax.1.canton
get halt.0.direction
get halt.0.var1
get cant.0.dec
get cant.0.ral
get cant.0.state
get cant.0.plusur2
get cant.0.plusur3
get cant.0.var2
get cant.0.val2
get cant.0.var4
get cant.0.var22
get aigauto.count
get aigauto.0.speed
get aigauto.0.done
get aigauto.0.plusur2
get aigauto.0.var1
get aigauto.0.var2
get aigauto.0.aig2
get aigauto.0.pos2
get aigauto.0.aig3
get block.halt_inhibit
get block.block_inhibit
get train.3.bal_dec
get train.3.bal_ral
tick
get vitmax.0.active
get cant.0.state
set cant.0.dec 9
