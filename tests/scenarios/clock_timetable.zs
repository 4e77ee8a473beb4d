# Runs the clock from just before a time: every tick is one model minute.
set clock.running 1
set clock.countdown 0
set clock.day 0
set clock.hour 7
set clock.minute 59
# Every 30 minutes from 8:00 to 10:00, ends included.
tick
expect clock.hour 8
expect var_1 1
set var_1 0
tick 29
expect var_1 0
tick
expect var_1 1
set var_1 0
tick 30
expect var_1 1
set var_1 0
tick 30
expect var_1 1
set var_1 0
tick 29
expect var_1 0
tick
expect clock.hour 10
expect clock.minute 0
expect var_1 1
set var_1 0
tick 30
expect var_1 0
# 23:00 to 01:00 every hour fires at 23:00 only: the end is 25:00 of the same day.
set clock.hour 22
set clock.minute 59
tick
expect var_2 1
set var_2 0
tick 120
expect clock.day 1
expect clock.hour 1
expect var_2 0
# Days at 12:00: Monday is a weekday; day 2 and any day also fire.
set clock.day 0
set clock.hour 11
set clock.minute 59
tick
expect var_3 1
expect var_4 0
expect var_5 0
expect var_6 0
expect var_7 1
set var_3 0
set var_7 0
set clock.day 2
set clock.hour 11
set clock.minute 59
tick
expect var_3 1
expect var_5 1
expect var_4 0
set clock.day 4
set var_3 0
set clock.hour 11
set clock.minute 59
tick
expect var_3 1
expect var_4 0
set var_3 0
set clock.day 6
set clock.hour 11
set clock.minute 59
tick
expect var_4 1
expect var_3 0
set var_4 0
set var_7 0
# In cleaning mode only the cleaning actions fire.
set clock.cleaning 1
set clock.day 0
set clock.hour 11
set clock.minute 59
tick
expect var_6 1
expect var_3 0
expect var_7 0
set clock.cleaning 0
# hi without hf repeats until the end of the day: 13:00, 18:00 and 23:00, then not at 4:00.
set clock.hour 12
set clock.minute 59
tick
expect var_8 1
set var_8 0
tick 300
expect clock.hour 18
expect var_8 1
set var_8 0
tick 300
expect var_8 1
set var_8 0
tick 300
expect clock.hour 4
expect var_8 0
