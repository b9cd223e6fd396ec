#!/bin/sh
# A Mars pass that needs the brake at once from 215 km up, at 3675 m/s and 960 km
# out (start 171 of the seed-5 campaign, standard descent): the braking from
# there asks at its start for more deceleration than the engines reach. It once
# was flown all the same, passed over the pad 110 km up and was let go falling,
# to hit the ground at 800 m/s; the lander must be refused in orbit, or land.
# The efficient descent brakes from there to a gate of its own over the air: it
# is not refused for the standard braking's reach.
campaign=$1
line=$("$campaign" --seed 5 --only 171 2>&1 | tail -n 1)
echo "$line" | awk -F, '
    $1 != 171 { print "not start 171: " $0; exit 1 }
    $13 == "landed" && $16 >= -1.0 { exit 0 }
    $13 != "refused" { print "neither refused nor landed softly: " $13 ", " $16 " m/s down, " $14 " m along"; exit 1 }
    $20 > 0.0 { print "refused after burning " $20 " kg"; exit 1 }' || exit 1
line=$("$campaign" --seed 5 --only 171 --descent efficient 2>&1 | tail -n 1)
echo "$line" | awk -F, '
    $1 != 171 { print "not start 171 (efficient): " $0; exit 1 }
    index($0, "target out of reach") > 0 { print "efficient descent refused for the standard reach"; exit 1 }'
