#!/bin/bash
# The release: builds the pilot's folder dist/ and packs it as
# TessarcMFD-<version>.zip beside it.
#
#   bash tools/release.sh
#
# dist/, in the host's folder layout:
#   INSTALL.txt, CHANGES.txt                  how to install; what changed (CHANGES.txt)
#   x86/Modules/Plugin/TessarcMFD_2010.dll    the modules (tools/windows.sh)
#   x86/Modules/Plugin/TessarcMFD_2016.dll
#   x64/Modules/Plugin/TessarcMFD_2016.dll
#   Doc/TessarcMFD/TessarcMFD.html, *.png     the pilot's manual (tools/manual.sh)
#   Scenarios/TessarcMFD/*.scn                the sample scenarios (scenarios/orbiter/)
#
# One version, the file VERSION, is the modules' file version, the manual's and
# the archive's, and CHANGES.txt must have its entry; before packing, the version
# is read back from each module and from the manual, and the build stops when one
# of them does not carry it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fail() {
    echo "release: $*" >&2
    exit 1
}

version=$(tr -d ' \r\n' <VERSION)
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "VERSION holds \"$version\", not major.minor.patch"
grep -q "^$version " CHANGES.txt || fail "CHANGES.txt has no entry for $version"
ls scenarios/orbiter/*.scn >/dev/null 2>&1 || fail "no sample scenarios in scenarios/orbiter/"
command -v zip >/dev/null || fail "zip not found (Debian package zip)"

echo "=== TessarcMFD $version: the modules"
bash tools/windows.sh build

echo "=== TessarcMFD $version: the manual"
manual=$root/build/release/manual
bash tools/manual.sh "$manual"

echo "=== TessarcMFD $version: dist/"
mkdir -p dist/Doc/TessarcMFD dist/Scenarios/TessarcMFD
cp "$manual"/*.png dist/Doc/TessarcMFD/
# The manual's title and first line name the version.
python3 - "$manual/TessarcMFD.html" dist/Doc/TessarcMFD/TessarcMFD.html "$version" <<'EOF'
import sys
source, target, version = sys.argv[1:]
page = open(source, encoding="utf-8").read()
if "<title>" not in page or "<body>" not in page:
    sys.exit("release: the manual has no <title> or <body>")
page = page.replace("<title>TessarcMFD", "<title>TessarcMFD " + version, 1)
page = page.replace("<body>", '<body>\n<p><em>TessarcMFD version ' + version + "</em></p>", 1)
open(target, "w", encoding="utf-8").write(page)
EOF
cp scenarios/orbiter/*.scn dist/Scenarios/TessarcMFD/
cp CHANGES.txt dist/
# Windows line ends for what a pilot opens in a text editor, and for the scenarios
# as the host's own are written.
for f in dist/*.txt dist/Scenarios/TessarcMFD/*.scn; do
    sed -i 's/\r*$/\r/' "$f"
done

# The version as each part carries it: the modules' file version (UTF-16 in their
# version resource) and the manual's text.
for dll in dist/x86/Modules/Plugin/TessarcMFD_2010.dll dist/x86/Modules/Plugin/TessarcMFD_2016.dll \
    dist/x64/Modules/Plugin/TessarcMFD_2016.dll; do
    [ -f "$dll" ] || fail "$dll was not built"
    python3 - "$dll" "$version" <<'EOF' || fail "$dll does not carry the file version $version"
import re, sys
data, version = open(sys.argv[1], "rb").read(), sys.argv[2]
key = re.escape("FileVersion\0".encode("utf-16-le"))  # then padding to 4 bytes, then the value
sys.exit(0 if re.search(key + b"(?:\0\0)?" + re.escape((version + "\0").encode("utf-16-le")), data) else 1)
EOF
done
grep -q "TessarcMFD version $version<" dist/Doc/TessarcMFD/TessarcMFD.html || fail "the manual does not name $version"

archive=TessarcMFD-$version.zip
rm -f "$archive"
(cd dist && zip -X -r -q "../$archive" .)
unzip -l "$archive"
printf '%s: %d bytes\n' "$archive" "$(stat -c %s "$archive")"
