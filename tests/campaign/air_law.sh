#!/bin/sh
# The efficient descent over Mars. Seed 1 start 7: the law flies through the air
# on less than the ideal delta-v (the air brakes for nothing). Seed 1 start 91
# flies the standard braking and keeps it through its coasts: a coast's fresh
# plan once taken for the law, high and fast, dived into the air, asked more
# than the engines and hit the ground 6 km short at 205 m/s. Seed 4 start 97:
# the air took the law's flight short of its target, low, and with the engines
# idling against the air it sank into the ground 8 km short at 111 m/s.
campaign=$1
for run in 1:7 1:91 4:97; do
    seed=${run%:*}
    start=${run#*:}
    line=$("$campaign" --seed $seed --only $start --descent efficient 2>&1 | tail -n 1)
    echo "$line" | awk -F, -v run=$run -v start=$start '
        $1 != start { print run ": not that start: " $0; exit 1 }
        $13 != "landed" || $16 < -1.0 { print run ": not landed softly: " $13 ", " $16 " m/s down, " $14 " m along"; exit 1 }
        run == "1:7" && $18 >= $19 { print run ": delta-v " $18 " not under the ideal " $19; exit 1 }' || exit 1
done
