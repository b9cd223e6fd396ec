#!/bin/bash
# Builds the libFuzzer targets of the input-box parsers, the scenario block
# reader and the simulated host's scenario reader (fuzz/fuzz_*.cpp) with
# clang and runs each for a bounded time, starting from its checked-in corpus in
# fuzz/corpus/<name>/. New inputs go to a scratch directory, not into the tree.
#   tools/fuzz.sh [seconds per target, default 20] [target names...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-20}
shift || true

need=""
command -v clang++ >/dev/null 2>&1 || need="clang"
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed" ||
    need="$need libclang-rt-14-dev"
if [ -n "$need" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing:$need"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q && apt-get install -y -q --no-install-recommends $need
    else
        echo "Missing packages:$need (install them with: sudo apt-get install -y$need)" >&2
        exit 1
    fi
fi

out=build/fuzz
mkdir -p "$out"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do
        t=$(basename "$f" .cpp)
        targets+=("${t#fuzz_}")
    done
fi
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -I. -Ihost)
# The scenario target flies the simulated host's reader and world: its sources are
# built once per run, two at a time.
sim_objects() {
    mkdir -p "$out/sim"
    ls sim/*.cpp | xargs -P 2 -I{} sh -c 'clang++ "$@" -c {} -o "'"$out"'/sim/$(basename {} .cpp).o"' _ \
        "${flags[@]}" -Isim -DOAPI_IMPLEMENTATION -DTESSARC_SOURCE_DIR="\"$root\"" \
        -DTESSARC_MODULE_DIR="\"$root/build/default/modules\"" $(pkg-config --cflags cairo)
}
for t in "${targets[@]}"; do
    echo "=== fuzz $t (${seconds} s)"
    extra=() max_len=300
    if [ "$t" = scenario ]; then
        sim_objects
        extra=("$out"/sim/*.o $(pkg-config --libs cairo) -ldl)
        max_len=4096
    fi
    clang++ "${flags[@]}" -fsanitize=fuzzer "fuzz/fuzz_$t.cpp" mfd/parsers.cpp mfd/scenario_lines.cpp \
        "${extra[@]}" -o "$out/fuzz_$t"
    rm -rf "$out/work_$t" && mkdir -p "$out/work_$t"
    "$out/fuzz_$t" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
        -artifact_prefix="$out/${t}_" "$out/work_$t" "fuzz/corpus/$t" 2>"$out/fuzz_$t.log" || {
        tail -40 "$out/fuzz_$t.log" >&2
        echo "fuzz $t found a fault; the input is in $out/${t}_*" >&2
        exit 1
    }
    grep -E '^Done|stat::number_of_executed_units' "$out/fuzz_$t.log" | head -2
done
echo "Fuzzing found nothing."
