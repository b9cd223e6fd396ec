#!/bin/bash
# The landing dispersion campaign: builds tessarc-campaign, flies COUNT dispersed
# landings (default 200) two at a time with one progress line each, prints the
# summary and draws the picture. Results in out/campaign (results.csv,
# summary.txt, campaign.png).
#   bash tools/campaign.sh [COUNT] [SEED] [--takeover]
# --takeover flies the takeover starts near the pad instead (results in
# out/campaign-takeover).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/setup.sh
tessarc_setup
tessarc_python_for_plots
cmake --preset default >/dev/null
cmake --build --preset default --target tessarc-campaign
out=out/campaign
title="dispersion campaign"
if [ "${3:-}" = "--takeover" ]; then
    out=out/campaign-takeover
    title="takeover campaign"
fi
build/default/tessarc-campaign --count "${1:-200}" --seed "${2:-1}" --jobs 2 --out "$out" ${3:+"$3"}
"$py" tools/campaign_plot.py "$out/results.csv" "$out/campaign.png" "$title"
echo "picture: $out/campaign.png"
