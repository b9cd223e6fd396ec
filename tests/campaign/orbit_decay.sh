#!/bin/sh
# A low orbit over air is kept while the landing waits for its pass: start 163
# of the seed-4 campaign (a 125 km circular Mars orbit, the pass an hour ahead)
# once sank under the drag until its periapsis was below the ground, was then
# refused for fuel and fell in at 370 m/s, with either descent profile.
campaign=$1
for descent in specified efficient; do
    line=$("$campaign" --seed 4 --only 163 --descent $descent 2>&1 | tail -n 1)
    echo "$line" | awk -F, -v d=$descent '
        $1 != 163 { print d ": not start 163: " $0; exit 1 }
        $13 != "landed" || $16 < -1.0 { print d ": not landed softly: " $13 ", " $16 " m/s down, " $14 " m along"; exit 1 }' || exit 1
done
