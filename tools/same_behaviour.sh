#!/bin/bash
# Does the plug-in of this tree behave exactly as the one of another revision?
#
#   bash tools/same_behaviour.sh BASE_REV [RENDER_SECONDS]
#
# Builds tessarc-sim and both modules of BASE_REV (in a temporary worktree, kept
# under $TESSARC_SAME_DIR, default /tmp/tessarc-same, so a second comparison with
# the same base builds nothing) and of this tree (the default preset). Flies every
# bundled scenario with its script in both host generations, with the saved
# scenario, the JSON report, the telemetry, the script's own renders and a text
# and PNG render of every open display every RENDER_SECONDS (default 20) of
# simulation time. Then compares every output byte for byte and prints what
# differs. Exit status 0 when everything is the same, 1 when something differs,
# 2 when a build or a flight failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ $# -lt 1 ]; then
    echo "usage: bash tools/same_behaviour.sh BASE_REV [RENDER_SECONDS]" >&2
    exit 2
fi
base_rev=$(git rev-parse --verify "$1^{commit}") || { echo "unknown revision $1" >&2; exit 2; }
every=${2:-20}
work=${TESSARC_SAME_DIR:-/tmp/tessarc-same}
mkdir -p "$work"

. tools/setup.sh
tessarc_setup >/dev/null

# Builds the program and the modules of a source tree into a build folder.
build_sim() {  # source build
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARC_BENCH=OFF >"$2.configure.log" 2>&1 &&
        cmake --build "$2" --target tessarc-sim -j 2 >"$2.build.log" 2>&1
}

base_src=$work/src-$base_rev
base_build=$work/build-$base_rev
if [ ! -x "$base_build/tessarc-sim" ]; then
    echo "=== building $base_rev"
    rm -rf "$base_src"
    git worktree prune
    git worktree add --detach "$base_src" "$base_rev" >/dev/null 2>&1 || { echo "worktree of $base_rev failed" >&2; exit 2; }
    mkdir -p "$base_build"
    if ! build_sim "$base_src" "$base_build"; then
        echo "build of $base_rev failed: $base_build.build.log" >&2
        exit 2
    fi
fi

echo "=== building this tree"
cmake --preset default >/dev/null || exit 2
cmake --build --preset default --target tessarc-sim >"$work/current.build.log" 2>&1 ||
    { echo "build of this tree failed: $work/current.build.log" >&2; exit 2; }
current_sim=$root/build/default/tessarc-sim

# Flies every scenario of this tree's scenarios/ folder (the same files for both
# programs, so only the plug-in and the host differ) into an output folder.
fly_all() {  # program out
    local program=$1 out=$2 failed=0
    rm -rf "$out"
    mkdir -p "$out"
    for scn in "$root"/scenarios/*.scn; do
        local name
        name=$(basename "$scn" .scn)
        local script="$root/scenarios/$name.script"
        for host in 2010 2016; do
            local dir="$out/$name-$host"
            mkdir -p "$dir/frames"
            local args=(run "$scn" --host "$host" --quiet --save "$dir/saved.scn" --report "$dir/report.json"
                --telemetry "$dir/telemetry.csv" --render-every "$every" "$dir/frames")
            [ -f "$script" ] && args+=(--script "$script")
            (cd "$dir" && "$program" "${args[@]}" >stdout.txt 2>stderr.txt)
            echo $? >"$dir/exit_status"
        done
    done
    return $failed
}

echo "=== flying the scenarios with $base_rev"
fly_all "$base_build/tessarc-sim" "$work/out-base"
echo "=== flying the scenarios with this tree"
fly_all "$current_sim" "$work/out-current"

# The reports name the module file they loaded; the two builds' paths differ.
for f in "$work"/out-base/*/report.json "$work"/out-current/*/report.json; do
    [ -f "$f" ] && sed -i -E 's#"[^"]*/modules/(TessarcMFD_[0-9]+\.so)"#"\1"#g' "$f"
done

files=$(cd "$work/out-base" && find . -type f | sort | wc -l)
if diff -r "$work/out-base" "$work/out-current" >"$work/differences.txt" 2>&1; then
    echo "SAME: $files files (saved scenarios, reports, telemetry, renders) identical for $(ls "$root"/scenarios/*.scn | wc -l) scenarios x 2 hosts"
    exit 0
fi
echo "DIFFERENT ($files files compared); see $work/differences.txt:"
grep -E '^(Only in|Binary files|diff )' "$work/differences.txt" | head -40
exit 1
