#!/bin/bash
# The same dispersed landings flown with the pilot asking for time acceleration
# 1, 100 and 1000 from HOLD: misses and touchdown speeds side by side. Results in
# out/campaign_warp (one results table per time acceleration, summary.txt,
# warp.png).
#   bash tools/campaign_warp.sh [COUNT] [SEED]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/setup.sh
tessarc_setup
tessarc_python_for_plots
cmake --preset default >/dev/null
cmake --build --preset default --target tessarc-campaign
out=out/campaign_warp
mkdir -p "$out"
tables=()
for warp in 1 100 1000; do
    build/default/tessarc-campaign --count "${1:-24}" --seed "${2:-1}" --jobs 2 --warp "$warp" \
        --out "$out/warp_$warp" >/dev/null 2>"$out/warp_$warp.log"
    tables+=("$warp:$out/warp_$warp/results.csv")
done
"$py" tools/campaign_warp_plot.py "$out/warp.png" "$out/summary.txt" "${tables[@]}"
echo "picture: $out/warp.png"
