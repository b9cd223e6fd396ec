#!/bin/bash
# The landing dispersion campaign: builds tessarc-campaign, flies COUNT dispersed
# landings (default 200) two at a time with one progress line each, prints the
# summary and draws the picture. Results in out/campaign (results.csv,
# summary.txt, campaign.png).
#   bash tools/campaign.sh [COUNT] [SEED] [--takeover] [--descent specified|efficient]
# --takeover flies the takeover starts near the pad instead (results in
# out/campaign-takeover). --descent efficient has the pilot choose the efficient
# descent profile before engaging (results in out/campaign-efficient, or
# out/campaign-takeover-efficient); the same starts as the specified profile's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
count=200
seed=1
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then count=$1; shift; fi
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then seed=$1; shift; fi
takeover=""
descent=specified
while [ $# -gt 0 ]; do
    case "$1" in
    --takeover) takeover=--takeover ;;
    --descent)
        descent=${2:-}
        shift || true
        ;;
    *)
        echo "usage: bash tools/campaign.sh [COUNT] [SEED] [--takeover] [--descent specified|efficient]" >&2
        exit 2
        ;;
    esac
    shift
done
case "$descent" in
specified | efficient) ;;
*)
    echo "tools/campaign.sh: unknown descent profile \"$descent\": specified or efficient" >&2
    exit 2
    ;;
esac
. tools/setup.sh
tessarc_setup
tessarc_python_for_plots
cmake --preset default >/dev/null
cmake --build --preset default --target tessarc-campaign
out=out/campaign
title="dispersion campaign"
if [ -n "$takeover" ]; then
    out=out/campaign-takeover
    title="takeover campaign"
fi
if [ "$descent" = efficient ]; then
    out=$out-efficient
    title="$title, efficient descent"
fi
build/default/tessarc-campaign --count "$count" --seed "$seed" --jobs 2 --out "$out" --descent "$descent" $takeover
"$py" tools/campaign_plot.py "$out/results.csv" "$out/campaign.png" "$title"
echo "picture: $out/campaign.png"
