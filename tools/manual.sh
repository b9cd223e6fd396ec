#!/bin/bash
# The pilot's manual, rendered:  bash tools/manual.sh [OUTDIR]   (default out/manual)
#
# Writes OUTDIR/TessarcMFD.html, one page that works on its own in its folder,
# and beside it the PNG pictures it shows (OUTDIR/*.png, nothing else). The
# release copies exactly these (TessarcMFD.html and *.png) into dist/Doc/.
#
# The source is docs/manual/TessarcMFD.md. Every picture is a page the plug-in
# drew in tessarc-sim while flying a bundled scenario with a pilot script of
# docs/manual/flights/, so the pictures follow the code: fixed moments come from
# the scripts' "render" actions; the landing pages are drawn every 20 s and one
# page of each phase is kept (the first, or the middle or last of a long phase).
# Markdown to HTML: Debian's python3-markdown (installed as root when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$(realpath -m "${1:-out/manual}")
. tools/setup.sh
TESSARC_PACKAGES="$TESSARC_PACKAGES python3-markdown"
tessarc_setup
cmake --preset default >/dev/null
cmake --build --preset default --target tessarc-sim TessarcMFD_2016 -j2 >/dev/null
sim="$root/build/default/tessarc-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"

# fly SCENARIO SCRIPT UNTIL [EVERY]: flies scenarios/SCENARIO.scn to simulation
# time UNTIL; the script's renders land in OUTDIR; with EVERY, every display is
# also drawn each EVERY seconds into the work folder.
fly() {
    local every=()
    [ $# -ge 4 ] && every=(--render-every "$4" "$work/$1")
    (cd "$out" && "$sim" run "$root/scenarios/$1.scn" --script "$root/docs/manual/flights/$2.script" \
        --until "$3" --quiet "${every[@]}" >/dev/null)
}

# keep SCENARIO PICTURE WORD [middle|last]: the first (middle, last) page drawn in
# the run of SCENARIO whose phase line (row 3) shows WORD, as OUTDIR/PICTURE.png.
keep() {
    local pages=() t
    for t in "$work/$1"/mfd0_*.txt; do
        grep -qE "^ *3 \|.* $3( |\|)" "$t" && pages+=("$t")
    done
    if [ ${#pages[@]} -eq 0 ]; then echo "manual: no $3 page in the $1 flight" >&2; exit 1; fi
    t=${pages[0]}
    [ "${4:-}" = middle ] && t=${pages[$(( ${#pages[@]} / 2 ))]}
    [ "${4:-}" = last ] && t=${pages[$(( ${#pages[@]} - 1 ))]}
    cp "${t%.txt}.png" "$out/$2.png"
}

start=$(date +%s)
fly demo orbit 1261
fly leo_station station 121
fly leo_docking docking 561
fly lunar_landing moon 3400 20
fly mars_landing mars 2000 20
fly lunar_landing hover 3001
fly "orbiter/TessarcMFD hover takeover at Brighton Beach" takeover 171
keep lunar_landing landing_wait WAIT middle
keep lunar_landing landing_brake BRAKE middle
keep lunar_landing landing_approach APPROACH
keep lunar_landing landing_final FINAL
keep lunar_landing landing_landed LANDED
keep mars_landing mars_brake BRAKE last
keep mars_landing mars_final FINAL
keep mars_landing mars_landed LANDED

/usr/bin/python3 - "$root/docs/manual/TessarcMFD.md" "$out" <<'EOF'
import os, re, sys
import markdown
source, out = sys.argv[1], sys.argv[2]
text = open(source, encoding="utf-8").read()
pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", text)
missing = [p for p in pictures if not os.path.isfile(os.path.join(out, p))]
if missing:
    sys.exit("manual: pictures not drawn: " + ", ".join(missing))
for f in os.listdir(out):
    if f.endswith(".png") and f not in pictures:
        os.remove(os.path.join(out, f))  # drawn by a flight but not shown
body = markdown.markdown(text, extensions=["tables", "toc", "fenced_code"])
style = """body{font-family:sans-serif;max-width:60em;margin:2em auto;padding:0 1em;line-height:1.45}
table{border-collapse:collapse;margin:1em 0}th,td{border:1px solid #999;padding:.2em .5em;vertical-align:top}
th{background:#eee}code{background:#f3f3f3;padding:0 .2em}kbd{border:1px solid #888;border-radius:3px;
padding:0 .3em;background:#fafafa;font-family:monospace}img{border:1px solid #444;margin:.5em .5em 0 0;width:320px}"""
page = ('<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8"><title>TessarcMFD pilot\'s manual</title>'
        "<style>" + style + "</style></head><body>\n" + body + "\n</body></html>\n")
open(os.path.join(out, "TessarcMFD.html"), "w", encoding="utf-8").write(page)
print("manual: %s with %d pictures" % (os.path.join(out, "TessarcMFD.html"), len(set(pictures))))
EOF
echo "manual: rendered in $(( $(date +%s) - start )) s"
