#!/bin/sh
# The efficient descent's orbit trim keeps the lowest point of the orbit it
# leaves above the ground: start 56 of the seed-2 campaign (a lunar orbit from
# 61 to 154 km, trimmed near its highest point) once had its periapsis taken
# half a kilometre under the surface while waiting, and hit the ground 1100 km
# before the pad.
campaign=$1
line=$("$campaign" --seed 2 --only 56 --descent efficient 2>&1 | tail -n 1)
echo "$line" | awk -F, '
    $1 != 56 { print "not start 56: " $0; exit 1 }
    $13 != "landed" || $16 < -1.0 { print "not landed softly: " $13 ", " $16 " m/s down, " $14 " m along"; exit 1 }'
