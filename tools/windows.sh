#!/bin/bash
# Builds the Windows modules by cross-compilation with the host's own ABI
# (Microsoft C++), against the host's real SDK headers:
#   build/windows/x86/TessarcMFD_2010.dll, TessarcMFD_2016.dll   32-bit, 2016 headers
#   build/windows/x64/TessarcMFD_2016.dll                        64-bit, current headers
# and lays them out in dist/ as a pilot installs them.
#
#   tools/windows.sh [build]   build the modules and dist/
#   tools/windows.sh check     build, then check them: every plug-in source against both
#                              header sets for both machines, the DLLs' machine, exports
#                              and imports, their tables against the real hosts' (abi/),
#                              and each module loaded and driven by a Windows test host
#                              (win/host) under Wine, its pages drawn as the simulated
#                              host draws them, position for position
#
# TESSARC_ORBITERSDK names the folder of the SDK header snapshots (with 2016/include
# and current/include; default: shared/orbitersdk beside the checkout or one folder
# further up, as for a worktree). Without it,
# `build` stops with a message and `check` says it skipped and succeeds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-build}
case "$mode" in build | check) ;; *)
    echo "usage: tools/windows.sh [build|check]" >&2
    exit 2
    ;;
esac

sdk=${TESSARC_ORBITERSDK:-$root/../shared/orbitersdk}
[ -n "${TESSARC_ORBITERSDK:-}" ] || [ -d "$sdk" ] || sdk=$root/../../shared/orbitersdk
if [ ! -f "$sdk/2016/include/OrbiterAPI.h" ] || [ ! -f "$sdk/current/include/OrbiterAPI.h" ]; then
    if [ "$mode" = check ]; then
        echo "Windows checks skipped: no SDK headers at $sdk (set TESSARC_ORBITERSDK to the folder with 2016/include and current/include)"
        exit 0
    fi
    echo "windows.sh: no SDK headers at $sdk; set TESSARC_ORBITERSDK to the folder with 2016/include and current/include" >&2
    exit 1
fi
sdk=$(cd "$sdk" && pwd)

# --- toolchain ----------------------------------------------------------------------
packages="clang lld llvm libc++-dev mingw-w64-i686-dev mingw-w64-x86-64-dev"
# wine32 (Debian's i386 architecture) runs the 32-bit modules, wine64 the 64-bit one.
[ "$mode" = check ] && packages="$packages wine64 wine32:i386"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing:$missing"
        export DEBIAN_FRONTEND=noninteractive
        case "$missing" in *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;; esac
        apt-get update -q && apt-get install -y -q --no-install-recommends $missing
    else
        echo "windows.sh: missing packages; install them with:  sudo apt-get install -y$missing" >&2
        exit 1
    fi
fi
llvm=$(ls -d /usr/lib/llvm-*/bin 2>/dev/null | sort -V | tail -1)
libcxx=$(ls -d /usr/lib/llvm-*/include/c++/v1 2>/dev/null | sort -V | tail -1)
for tool in clang++ lld-link llvm-dlltool llvm-nm llvm-rc llvm-readobj llvm-undname; do
    command -v "$tool" >/dev/null || [ -x "$llvm/$tool" ] || {
        echo "windows.sh: $tool not found (Debian package clang, lld or llvm)" >&2
        exit 1
    }
done
PATH="$PATH:$llvm"
jobs=$(nproc 2>/dev/null || echo 2)

out=$root/build/windows
mkdir -p "$out"

# The SDK headers include Lua as "lua\lua.h" (2016) and <lua/lua.h> (current) while
# the folder is called Lua: a small folder of links makes both names resolve here.
for set in 2016 current; do
    shim=$out/shim-$set
    rm -rf "$shim" && mkdir -p "$shim"
    ln -s "$sdk/$set/include/Lua" "$shim/lua"
    ln -s "$sdk/$set/include/Lua/lua.h" "$shim/lua\\lua.h"
done

# Compiler flags for one machine (i686 | x86_64) and one header set (2016 | current).
flags() {
    local arch=$1 set=$2 extra=""
    [ "$arch" = i686 ] && extra="-D_X86_ -msse2"
    echo "--target=$arch-pc-windows-msvc -std=c++17 -fms-compatibility -fms-extensions" \
        "-fms-compatibility-version=19.00 -fgnuc-version=4.2.1 $extra -fno-exceptions -fno-rtti" \
        "-fno-threadsafe-statics -Wall -Wextra -Werror -DNDEBUG -D_UCRT -D_LIBCPP_NO_VCRUNTIME" \
        "-D_LIBCPP_DISABLE_VISIBILITY_ANNOTATIONS -D_LIBCPP_DISABLE_MACRO_CONFLICT_WARNINGS" \
        "-nostdinc++ -isystem $libcxx -isystem /usr/$arch-w64-mingw32/include -isystem $out/shim-$set" \
        "-isystem $sdk/$set/include -I$root -I$root/win/include"
}

# Runs the compiler jobs on stdin in parallel, one "log-file clang-arguments..." line
# each; stops at the first that fails and shows its messages. What a job prints
# (the virtual-table layouts it is asked for) goes to the log's .vt beside it.
run_jobs() {
    xargs -P "$jobs" -L 1 bash -c 'log=$0; clang++ "$@" >"${log%.log}.vt" 2>"$log" || { cat "$log" >&2; exit 255; }'
}

# A precompiled prelude and SDK header per machine, header set and optimisation.
pch() {
    local dir=$1 arch=$2 set=$3 opt=$4
    printf '#include "tessarc_sdk_prelude.h"\n#include "Orbitersdk.h"\n' >"$dir/sdk.h"
    clang++ $(flags "$arch" "$set") $opt -x c++-header "$dir/sdk.h" -o "$dir/sdk$opt.pch"
}

plugin_sources=$(echo frame/*.cpp control/*.cpp landing/*.cpp display/*.cpp mfd/*.cpp)
generation_sources=$(echo frame/module_*.cpp)

# Objects of the plug-in for one machine and header set, and its runtime.
compile_plugin() {
    local arch=$1 set=$2 dir=$out/$1-$2
    rm -rf "$dir" && mkdir -p "$dir/2010" "$dir/2016" "$dir/runtime"
    pch "$dir" "$arch" "$set" -O2
    # Each object's virtual-table layouts, for the table checks.
    local f=$(flags "$arch" "$set") p="-include-pch $dir/sdk-O2.pch -O2 -Xclang -fdump-vtable-layouts"
    {
        for s in $plugin_sources; do
            case " $generation_sources " in *" $s "*) continue ;; esac
            o=$dir/$(echo "${s%.cpp}" | tr / _).obj
            echo "$o.log $f $p -c $s -o $o"
        done
        for s in $generation_sources; do
            o=$dir/2016/$(basename "${s%.cpp}").obj
            echo "$o.log $f $p -DTESSARC_HOST_2016=1 -c $s -o $o"
            o=$dir/2010/$(basename "${s%.cpp}").obj
            if [ "$arch" = i686 ]; then echo "$o.log $f $p -DTESSARC_HOST_2016=0 -c $s -o $o"; fi
        done
        for s in win/runtime/cxx.cpp win/runtime/dll_entry.cpp win/runtime/stdio.cpp; do
            o=$dir/runtime/$(basename "${s%.cpp}").obj
            echo "$o.log $f -O2 -c $s -o $o"
        done
    } | run_jobs
}

# Import libraries: the C runtime's from the names MinGW-w64's import library of
# ucrtbase.dll lists (the DLL's exports; a module imports only those it calls),
# kernel32's from our list, the host executable's from what the objects leave
# unresolved (the host's C++ functions, '?'-named).
import_libs() {
    local arch=$1 dir=$2 machine=i386:x86-64 kill=""
    [ "$arch" = i686 ] && machine=i386 && kill=-k
    {
        echo "LIBRARY ucrtbase.dll"
        echo "EXPORTS"
        llvm-nm /usr/x86_64-w64-mingw32/lib/libucrtbase.a 2>/dev/null |
            awk '$2 == "I" && $3 ~ /^__imp_/ {print substr($3, 7)}' | sort -u
    } >"$dir/ucrtbase.def"
    [ "$(wc -l <"$dir/ucrtbase.def")" -gt 100 ] || {
        echo "windows.sh: no export list of ucrtbase.dll (Debian package mingw-w64-x86-64-dev)" >&2
        exit 1
    }
    llvm-dlltool -m $machine -d "$dir/ucrtbase.def" -l "$dir/ucrtbase.lib"
    if [ "$arch" = i686 ]; then
        cp win/lib/kernel32.def "$dir/kernel32.def"
    else
        sed 's/@[0-9]*$//' win/lib/kernel32.def >"$dir/kernel32.def"
    fi
    llvm-dlltool -m $machine $kill -d "$dir/kernel32.def" -l "$dir/kernel32.lib"
    local objs=$(ls "$dir"/*.obj "$dir"/2016/*.obj "$dir"/runtime/*.obj)
    llvm-nm --defined-only $objs | awk 'NF == 3 {print $3}' | sort -u >"$dir/defined.txt"
    {
        echo "LIBRARY orbiter.exe"
        echo "EXPORTS"
        llvm-nm --undefined-only $objs | awk 'NF == 2 {print $2}' | sed 's/^__imp_//' | grep '^?' | sort -u |
            comm -23 - "$dir/defined.txt"
    } >"$dir/orbiter.def"
    llvm-dlltool -m $machine -d "$dir/orbiter.def" -l "$dir/orbiter.lib"
}

# The release's version (the file VERSION, "major.minor.patch") as the file version
# in the properties of module $1 (built for machine $2), compiled to $1.res.
version_resource() {
    local target=$1 arch=$2 v=$(tr -d ' \r\n' <VERSION)
    [[ "$v" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || {
        echo "windows.sh: VERSION holds \"$v\", not major.minor.patch" >&2
        exit 1
    }
    cat >"${target%.dll}.rc" <<RC
1 VERSIONINFO
FILEVERSION ${v//./,},0
PRODUCTVERSION ${v//./,},0
FILEOS 0x40004
FILETYPE 0x2
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904b0"
    BEGIN
      VALUE "FileDescription", "TessarcMFD autopilot MFD mode, $(basename "$target") ($arch)"
      VALUE "FileVersion", "$v"
      VALUE "ProductName", "TessarcMFD"
      VALUE "ProductVersion", "$v"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END
RC
    # llvm-rc reads an argument starting with '/' as an option (a clone under /c... or
    # /d... would lose its input file), so it is given names relative to their folder.
    local name=$(basename "${target%.dll}")
    (cd "$(dirname "$target")" && llvm-rc /fo "$name.res" "$name.rc")
}

# Links one module.
link_module() {
    local arch=$1 dir=$2 gen=$3 target=$4 machine=x64
    [ "$arch" = i686 ] && machine=x86
    mkdir -p "$(dirname "$target")"
    version_resource "$target" "$arch"
    lld-link /nologo /dll /machine:$machine /nodefaultlib /entry:_DllMainCRTStartup /subsystem:windows \
        /opt:ref /opt:icf /Brepro /out:"$target" /implib:"$dir/$gen.lib" \
        "$dir"/*.obj "$dir/$gen"/*.obj "$dir"/runtime/*.obj "${target%.dll}.res" \
        "$dir/orbiter.lib" "$dir/ucrtbase.lib" "$dir/kernel32.lib"
    rm -f "$dir/$gen.lib"
}

echo "=== Windows modules: compile (2 machines, $jobs jobs)"
compile_plugin i686 2016 &
pid32=$!
compile_plugin x86_64 current
wait $pid32
for a in "i686 2016" "x86_64 current"; do
    set -- $a
    import_libs "$1" "$out/$1-$2"
done
rm -rf "$out/x86" "$out/x64"
link_module i686 "$out/i686-2016" 2010 "$out/x86/TessarcMFD_2010.dll"
link_module i686 "$out/i686-2016" 2016 "$out/x86/TessarcMFD_2016.dll"
link_module x86_64 "$out/x86_64-current" 2016 "$out/x64/TessarcMFD_2016.dll"

rm -rf dist
mkdir -p dist/x86/Modules/Plugin dist/x64/Modules/Plugin
cp "$out"/x86/*.dll dist/x86/Modules/Plugin/
cp "$out"/x64/*.dll dist/x64/Modules/Plugin/
cp win/INSTALL.txt dist/
for f in "$out"/x86/*.dll "$out"/x64/*.dll; do
    printf '%-40s %8d bytes\n' "${f#$root/}" "$(stat -c %s "$f")"
done
echo "Pilot's folder: dist/ (see dist/INSTALL.txt)"
[ "$mode" = build ] && exit 0

# --- checks -----------------------------------------------------------------------------
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "=== Windows check: every plug-in source against both header sets, both machines"
# The two builds above compiled i686 against 2016 and x86_64 against current; the
# other two pairs are compiled here, and the glue for a build that links the SDK's
# own library (TESSARC_ORBITERSDK_LIB) in all four.
syntax=$out/syntax
rm -rf "$syntax" && mkdir -p "$syntax"
for a in "i686 current" "x86_64 2016" "i686 2016" "x86_64 current"; do
    set -- $a
    mkdir -p "$syntax/$1-$2" && pch "$syntax/$1-$2" "$1" "$2" ""
done
{
    for a in "i686 current" "x86_64 2016"; do
        set -- $a
        f="$(flags "$1" "$2") -include-pch $syntax/$1-$2/sdk.pch -fsyntax-only"
        for s in $plugin_sources; do echo "$syntax/$1-$2/$(echo "$s" | tr / _).log $f $s"; done
    done
    for a in "i686 current" "x86_64 2016" "i686 2016" "x86_64 current"; do
        set -- $a
        f="$(flags "$1" "$2") -include-pch $syntax/$1-$2/sdk.pch -fsyntax-only -DTESSARC_ORBITERSDK_LIB=1"
        for s in $generation_sources; do echo "$syntax/$1-$2/lib_$(basename "$s").log $f $s"; done
    done
} | run_jobs || fail "a plug-in source does not compile against the SDK headers"
echo "$(echo "$plugin_sources" | wc -w) sources x 4 (machine, header set) compiled; the SDK-library glue x 4"

echo "=== Windows check: the test host (win/host), built against the SDK headers"
# Built like the modules from the same headers. What it defines of the functions they
# declare for import becomes its export (clang turns such a definition into one), so
# it exports exactly its definitions, under the names the headers' declarations give;
# its own helpers stay inside. Only the drawing and MFD classes are read as exported
# whole (win/host/sdk_classes.cpp): with OAPI_IMPLEMENTATION everywhere, every class
# of the headers would be, and the host would have to define all of them.
# The real host's MFD display and font as measured there (tests/data/realhost/mfd.json),
# for the test host: its own source of the sizes, beside the simulated host's.
host_facts() {
    python3 - "$root/tests/data/realhost/mfd.json" <<'PY'
import json, re, sys
facts = json.load(open(sys.argv[1], encoding="utf-8"))
font = facts["default_font"]
glass = facts["surface_size_px"]["glass_cockpit"]
rule = re.search(r"h = \(IH\*(\d+)\)/(\d+)", font["rule_Instrument_SetSize"])
short_key, long_key = "GetTextWidth_0123456789", "GetTextWidth_37_blanks"
lines = ["// Written by tools/windows.sh from tests/data/realhost/mfd.json.", "#ifndef TESSARC_WIN_HOST_FACTS_H",
         "#define TESSARC_WIN_HOST_FACTS_H", "namespace facts {",
         "const int kGlassDisplayWidth = %d, kGlassDisplayHeight = %d;" % (glass["w"], glass["h"]),
         "const int kFontRuleNumerator = %s, kFontRuleDenominator = %s;" % rule.groups(),
         "const int kShortRun = %d, kLongRun = %s;" % (len(short_key.split("_")[1]), long_key.split("_")[1])]
for tag, key in (("Glass", "glass_cockpit_240"), ("Panel", "panel_2d_144")):
    m = font[key]
    size = int(m["GetCharSize"], 16)
    lines.append("const int k%sFontEm = %d, k%sCellHeight = %d, k%sCellWidth = %d;" %
                 (tag, m["h_rule"], tag, size & 0xFFFF, tag, size >> 16))
    lines.append("const int k%sShortText = %d, k%sLongText = %d;" % (tag, m[short_key], tag, m[long_key]))
print("\n".join(lines + ["}  // namespace facts", "#endif"]))
PY
}
mkdir -p "$out/facts"
host_facts >"$out/facts/host_facts.h" || fail "no facts of the real host's MFD font (tests/data/realhost/mfd.json)"
build_host() {
    local arch=$1 set=$2 dir=$out/host-$1-$2 machine=x64
    [ "$arch" = i686 ] && machine=x86
    rm -rf "$dir" && mkdir -p "$dir"
    local f="$(flags "$arch" "$set") -Wno-inconsistent-dllimport -include tessarc_sdk_prelude.h -O1 -I$out/facts"
    [ "$set" = 2016 ] && f="$f -DTESSARC_SDK_2016=1"
    {
        for s in win/host/*.cpp; do echo "$dir/$(basename "$s").log $f -c $s -o $dir/$(basename "${s%.cpp}").obj"; done
        for s in win/runtime/cxx.cpp win/runtime/exe_entry.cpp win/runtime/stdio.cpp; do
            echo "$dir/rt_$(basename "$s").log $(flags "$arch" "$set") -O1 -c $s -o $dir/rt_$(basename "${s%.cpp}").obj"
        done
    } | run_jobs || return 1
    link_host "$dir" "$arch" "$set"
}
link_host() {
    local dir=$1 arch=$2 set=$3 machine=x64
    [ "$arch" = i686 ] && machine=x86
    # 4217: the host's own calls reach its exported definitions through their imports.
    lld-link /nologo /machine:$machine /nodefaultlib /entry:mainCRTStartup /subsystem:console /Brepro /ignore:4217 \
        /out:"$dir/orbiter.exe" /implib:"$dir/orbiter.lib" "$dir"/*.obj \
        "$out/$arch-$set/ucrtbase.lib" "$out/$arch-$set/kernel32.lib"
}
# A 32-bit test host whose drawing surface lays out its table as a facts file says
# (generated from it, not from any header): the host of one generation.
build_table_host() {
    local tag=$1 facts=$2 base=$out/host-i686-2016 dir=$out/host-i686-table-$1
    rm -rf "$dir" && mkdir -p "$dir"
    python3 tools/abi_check.py surface "$facts" TableSurface >"$dir/table_surface.h" || return 1
    cp "$base"/*.obj "$dir/" && rm "$dir/sdk_classes.obj"
    clang++ $(flags i686 2016) -Wno-inconsistent-dllimport -include tessarc_sdk_prelude.h -O1 -DTESSARC_SDK_2016=1 \
        -DTESSARC_TABLE_SURFACE=1 -I"$dir" -I"$out/facts" -c win/host/sdk_classes.cpp -o "$dir/sdk_classes.obj" || return 1
    link_host "$dir" i686 2016
}
build_host x86_64 current || fail "the 64-bit test host does not build"
build_host i686 2016 || fail "the 32-bit test host does not build"
abi=$sdk/abi
# The table of the headers' own Sketchpad (the March 2021 snapshot), as clang lays it out.
printf '#include "tessarc_sdk_prelude.h"\n#include "Orbitersdk.h"\nvoid Touch(oapi::Sketchpad *s) { s->Line(0, 0, 1, 1); }\n' \
    >"$out/snapshot_table.cpp"
clang++ $(flags i686 2016) -Xclang -fdump-vtable-layouts -c "$out/snapshot_table.cpp" -o "$out/snapshot_table.obj" \
    >"$out/snapshot_table.vt"
python3 tools/abi_check.py facts "$out/snapshot_table.vt" oapi::Sketchpad >"$out/sketchpad-snapshot.txt" ||
    fail "no table of the 2016 headers' Sketchpad"
build_table_host 2010 "$abi/sketchpad-2010.txt" || fail "the 2010-table test host does not build"
build_table_host 2016 "$abi/sketchpad-2016.txt" || fail "the 2016-table test host does not build"
build_table_host snapshot "$out/sketchpad-snapshot.txt" || fail "the snapshot-table test host does not build"

# Exported names of a PE file, one a line, sorted.
exports_of() { llvm-readobj --coff-exports "$1" | awk '/^  Name: ./ {print $2}' | sort; }
# Imported names from one DLL of a PE file.
imports_of() {
    llvm-readobj --coff-imports "$1" | awk -v dll="$2" '
        /^  Name: / {cur = $2} /^  Symbol: / && cur == dll {print $2}' | sort -u
}

echo "=== Windows check: machine, exports and imports of each module"
entry_points="ExitModule GetModuleVersion InitModule ModuleDate opcCloseRenderViewport opcDeleteVessel
opcFocusChanged opcPostStep opcPreStep opcTimeAccChanged"
expected_exports=$(echo $entry_points | tr ' ' '\n' | sort)
check_module() {
    local dll=$1 machine=$2 set=$3 hostexe=$4 name=${1#$root/}
    local m=$(llvm-readobj --file-headers "$dll" | awk '/Machine:/ {print $2}')
    [ "$m" = "$machine" ] || fail "$name: machine $m, not $machine"
    grep -q IMAGE_FILE_DLL <<<"$(llvm-readobj --file-headers "$dll")" || fail "$name: not a DLL"
    [ "$(exports_of "$dll")" = "$expected_exports" ] ||
        fail "$name: exports $(exports_of "$dll" | tr '\n' ' ')instead of the ten entry points"
    local dlls=$(llvm-readobj --coff-imports "$dll" | awk '/^  Name: / {print $2}' | sort | tr '\n' ' ')
    for d in $dlls; do
        case "$d" in orbiter.exe | ucrtbase.dll | kernel32.dll) ;; *) fail "$name: imports from $d" ;; esac
    done
    # Every import from the host: a function the SDK headers declare (its name in a
    # declaration there), or the host's glue exports; and exported by the test host
    # built from those headers, which checks the whole signature.
    local host_imports=$(imports_of "$dll" orbiter.exe) undeclared="" unexported="" count=0
    local host_exports=$(exports_of "$hostexe")
    for sym in $host_imports; do
        count=$((count + 1))
        local fn=$(llvm-undname "$sym" | sed -n 2p | sed -E 's/\(.*//; s/.* //; s/.*:://')
        # <windows.h> renames GetClassName to GetClassNameA in host and module alike.
        [ "$fn" = GetClassNameA ] && fn=GetClassName
        case "$fn" in InitLib | Date2Int) ;; *)
            grep -qE "(^|[^A-Za-z0-9_])$fn[[:space:]]*\(" "$sdk/$set/include"/*.h || undeclared="$undeclared $fn" ;;
        esac
        grep -qxF -- "$sym" <<<"$host_exports" || unexported="$unexported $fn"
    done
    [ -z "$undeclared" ] || fail "$name: imports host functions the $set headers do not declare:$undeclared"
    [ -z "$unexported" ] || fail "$name: imports host functions the test host does not define (add them to win/host):$unexported"
    printf '%-32s %-7s 10 exports; imports %3d host functions, %2d C runtime, %d kernel32\n' "$name" \
        "$([ "$machine" = IMAGE_FILE_MACHINE_AMD64 ] && echo x86_64 || echo i686)" "$count" \
        "$(imports_of "$dll" ucrtbase.dll | wc -l)" "$(imports_of "$dll" kernel32.dll | wc -l)"
}
check_module "$out/x86/TessarcMFD_2010.dll" IMAGE_FILE_MACHINE_I386 2016 "$out/host-i686-2016/orbiter.exe"
check_module "$out/x86/TessarcMFD_2016.dll" IMAGE_FILE_MACHINE_I386 2016 "$out/host-i686-2016/orbiter.exe"
check_module "$out/x64/TessarcMFD_2016.dll" IMAGE_FILE_MACHINE_AMD64 current "$out/host-x86_64-current/orbiter.exe"

export LC_ALL=C
echo "=== Windows check: the tables each module calls through or lays out, against its host's (abi/)"
# As each module's own compile laid them out (clang's dump of every object), never
# from the headers it was compiled with: the host's drawing surface as the module
# calls it, and the MFD2 table of the module's MFD as the host calls it.
table_check() {
    local dir=$1 gen=$2 facts=$3 name=$4
    local dumps=$(ls "$dir"/*.vt "$dir/$gen"/*.vt)
    echo "$name:"
    python3 tools/abi_check.py tables "$abi/$facts" drawtable::Sketchpad $dumps ||
        fail "$name: its table of the drawing surface is not its host's"
    python3 tools/abi_check.py tables "$abi/mfd2-all.txt" TessarcMFD $dumps ||
        fail "$name: its MFD's table is not the host's MFD2"
    # A page calling the headers' own Sketchpad would use their table, not the host's.
    if grep -q "VFTable indices for 'oapi::Sketchpad'" $dumps; then
        python3 tools/abi_check.py tables "$abi/$facts" oapi::Sketchpad $dumps ||
            fail "$name: draws through the headers' Sketchpad, whose table is not its host's"
    fi
}
table_check "$out/i686-2016" 2010 sketchpad-2010.txt x86/TessarcMFD_2010.dll
table_check "$out/i686-2016" 2016 sketchpad-2016.txt x86/TessarcMFD_2016.dll
table_check "$out/x86_64-current" 2016 sketchpad-current.txt x64/TessarcMFD_2016.dll
# The check can fail: the 2010 module's table against the 2016 host's facts.
if python3 tools/abi_check.py tables "$abi/sketchpad-2016.txt" drawtable::Sketchpad \
    "$out"/i686-2016/2010/*.vt >"$out/wrong-table.txt"; then
    fail "the table check passed the 2010 module against the 2016 facts"
else
    echo "(the check can fail: the 2010 module against the 2016 facts, as it must:)"
    sed -n 2,3p "$out/wrong-table.txt"
fi

echo "=== Windows check: every orbiter.exe import of the 32-bit modules is exported by its host (abi/)"
for g in 2010 2016; do
    dll=$out/x86/TessarcMFD_$g.dll
    tr -d '\r' <"$abi/orbiter-exports-$g.txt" | sort -u >"$out/exports-$g.txt"
    missing=$(imports_of "$dll" orbiter.exe | comm -23 - "$out/exports-$g.txt" | tr '\n' ' ')
    [ -z "$missing" ] || fail "x86/TessarcMFD_$g.dll imports what the $g host does not export: $missing"
    printf 'x86/TessarcMFD_%s.dll: %d orbiter.exe imports, %s among the %d names the %s host exports\n' "$g" \
        "$(imports_of "$dll" orbiter.exe | wc -l)" "$([ -z "$missing" ] && echo all || echo NOT all)" \
        "$(wc -l <"$out/exports-$g.txt")" "$g"
done

echo "=== Windows check: the modules loaded and driven by the test hosts under Wine"
# The pages that do not depend on the flight, as the simulated host records them
# (the same vessel in the same orbit, on the real host's MFD size and font): each
# test host's recording must equal them, position for position.
pages=$out/pages
rm -rf "$pages" && mkdir -p "$pages"
sim=$root/build/default/tessarc-sim
[ -x "$sim" ] || { cmake --preset default >/dev/null && cmake --build --preset default --target tessarc-sim >/dev/null; }
cat >"$pages/pages.scn" <<'SCN'
BEGIN_ENVIRONMENT
  System Sol
  Date MJD 60000.0
END_ENVIRONMENT
BEGIN_FOCUS
  Ship Probe
END_FOCUS
BEGIN_SHIPS
Probe:Probe
  STATUS Orbiting Earth
  RPOS 6771010.000 0.000 0.000
  RVEL 0.000 0.000 7672.500
END
END_SHIPS
SCN
printf '%s\n' 'AT 0 open Left' 'AT 0.05 render Left start-up.calls' 'AT 1 render Left mode-selection.calls' \
    'AT 1 key Left Back' 'AT 1.1 render Left summary.calls' 'AT 1.1 key Left Back' 'AT 1.1 key Left 1' \
    'AT 1.3 render Left velocity.calls' >"$pages/pages.script"
# Drawn by each generation's module in that generation's simulated host.
for g in 2010 2016; do
    mkdir -p "$pages/$g"
    (cd "$pages/$g" && "$sim" run ../pages.scn --host $g --script ../pages.script --until 1.4 --quiet) \
        >"$pages/$g/sim.log" 2>&1 || fail "the simulated $g host did not draw the pages (${pages#$root/}/$g/sim.log)"
done

wine64=$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -1)
wine32=$(dpkg -L wine32:i386 2>/dev/null | grep -E '/wine$' | while read -r f; do [ -f "$f" ] && echo "$f"; done | head -1)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# A page's calls in order, every position and point as drawn; of a text's
# characters only its numbers' digits and signs are masked, as the numbers a page
# shows differ between the two hosts' vessels (thrusters, rates, attitude).
mask_numbers() {
    awk '$1 == "text" {i = index($0, "\""); body = substr($0, i); gsub(/[-+]?[0-9]/, "#", body)
        print substr($0, 1, i - 1) body; next} {print}'
}
# Runs a module in a test host: name, Wine loader, prefix, host, module, the
# generation whose simulated host's pages it must draw. Prints the steps; returns
# 1 when a step failed or a page differs from the simulated host's.
run_in_wine() {
    local name=$1 loader=$2 prefix=$3 exe=$4 dll=$5 reference=$pages/$6 run=$out/wine-$1 rc=0
    rm -rf "$run" && mkdir -p "$run/Modules/Plugin"
    cp "$exe" "$run/orbiter.exe"
    cp "$dll" "$run/Modules/Plugin/"
    (cd "$run" && WINEPREFIX=$prefix "$loader" orbiter.exe "Modules\\Plugin\\$(basename "$dll")") \
        >"$run/output.txt" 2>"$run/wine.log" || rc=1
    tr -d '\r' <"$run/output.txt" | awk -v dir="$run" '
        /^=== page / {page = dir "/" $3 ".calls"; next} /^=== end/ {page = ""; next}
        page != "" {print >page; next} {print}' | sed 's/^/    /'
    for p in start-up mode-selection summary velocity; do
        tail -n +2 "$reference/$p.calls" | mask_numbers >"$run/$p.sim"
        if [ -f "$run/$p.calls" ] && mask_numbers <"$run/$p.calls" | cmp -s "$run/$p.sim" -; then
            echo "    ok   $p page: $(wc -l <"$run/$p.calls") drawing calls, as the simulated host's in kind, order, text, position, points and fonts"
        else
            echo "    FAIL $p page differs from the simulated host's:"
            { [ -f "$run/$p.calls" ] && mask_numbers <"$run/$p.calls"; } | diff "$run/$p.sim" - | head -6 | sed 's/^/        /'
            rc=1
        fi
    done
    return $rc
}
if [ -z "$wine64" ] || [ -z "$wine32" ]; then
    fail "wine not found (Debian packages wine64 and wine32:i386)"
else
    echo "x64/TessarcMFD_2016.dll in the 64-bit host (today's headers):"
    run_in_wine x64 "$wine64" "$out/wineprefix" "$out/host-x86_64-current/orbiter.exe" "$out/x64/TessarcMFD_2016.dll" \
        2016 ||
        fail "x64/TessarcMFD_2016.dll in the 64-bit test host (wine messages in build/windows/wine-x64/wine.log)"
    export WINEARCH=win32
    for g in 2010 2016; do
        echo "x86/TessarcMFD_$g.dll in the 32-bit host drawing through the $g table (sketchpad-$g.txt):"
        run_in_wine "x86-$g" "$wine32" "$out/wineprefix32" "$out/host-i686-table-$g/orbiter.exe" \
            "$out/x86/TessarcMFD_$g.dll" $g ||
            fail "x86/TessarcMFD_$g.dll in the $g test host (wine messages in build/windows/wine-x86-$g/wine.log)"
    done
    # The check can fail: the 2016 module in a host with the 2016 headers' table
    # (TextW after Text, as a module compiled against them would call it).
    echo "x86/TessarcMFD_2016.dll in a host drawing through the 2016 headers' table (must fail):"
    if run_in_wine x86-snapshot "$wine32" "$out/wineprefix32" "$out/host-i686-table-snapshot/orbiter.exe" \
        "$out/x86/TessarcMFD_2016.dll" 2016 >"$out/wine-snapshot.txt"; then
        fail "the 2016 module passed in a host with the wrong table: the check cannot fail"
    else
        grep -E "FAIL|steps,|Unhandled exception|^        [<>]" "$out/wine-snapshot.txt" | head -10
    fi
    unset WINEARCH
fi

[ "$failures" -eq 0 ] || {
    echo "Windows checks: $failures failed" >&2
    exit 1
}
echo "Windows checks passed."
