#!/bin/sh
# The efficient descent over Mars: a start whose law fits flies it through the
# air on less than the ideal delta-v (the air brakes for nothing), and a start
# flying the standard braking stays on it when its coasts plan afresh. Start 91
# (183 km, a pass 350 km to the side) once had a coast's fresh plan taken for
# the law, high and fast, which dived into the air, asked more than the engines
# and hit the ground 6 km short at 205 m/s.
campaign=$1
for start in 7 91; do
    line=$("$campaign" --only $start --descent efficient 2>&1 | tail -n 1)
    echo "$line" | awk -F, -v start=$start '
        $1 != start { print "not start " start ": " $0; exit 1 }
        $13 != "landed" || $16 < -1.0 { print start ": not landed softly: " $13 ", " $16 " m/s down, " $14 " m along"; exit 1 }
        start == 7 && $18 >= $19 { print "7: delta-v " $18 " not under the ideal " $19; exit 1 }' || exit 1
done
