#!/bin/sh
# The efficient descent's fuel check counts the orbit trim a pass beyond the
# trim's window will get, not the braking's steering out of its miss: start 152
# of the seed-1 campaign (a lunar pass 120 km to the side, more than half an
# orbit ahead, 6294 kg on board) lands softly with a sixth of its tank left,
# where the check once refused it for fuel.
campaign=$1
line=$("$campaign" --only 152 --descent efficient 2>&1 | tail -n 1)
echo "$line" | awk -F, '
    $1 != 152 { print "not start 152: " $0; exit 1 }
    $13 != "landed" || $16 < -1.0 { print "not landed softly: " $13 ", " $16 " m/s down"; exit 1 }
    $20 > 0.85 * $24 { print "used " $20 " kg of " $24 " on board"; exit 1 }
    $25 < $27 { print "the plan before the brake (" $25 " kg) short of what the descent then used (" $27 ")"; exit 1 }'
