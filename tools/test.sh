#!/bin/bash
# Builds everything and runs every test: first the optimised build, then the build
# with AddressSanitizer and UndefinedBehaviorSanitizer. Fails on the first failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/setup.sh
tessarc_setup
echo "=== shape of the plug-in: includes run down, files and functions stay readable"
python3 tools/include_graph.py
python3 tools/plugin_size.py --top 3
for preset in default sanitize; do
    echo "=== $preset build"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    echo "=== $preset tests"
    ctest --preset "$preset"
done
echo "=== fuzz the input-box parsers"
tools/fuzz.sh "${TESSARC_FUZZ_SECONDS:-20}"
echo "=== Windows modules: cross build and checks"
tools/windows.sh check
echo "All tests passed."
