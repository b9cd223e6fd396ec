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
#                              and imports, and the 64-bit module loaded and driven by the
#                              Windows test host (win/host) under wine64
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
[ "$mode" = check ] && packages="$packages wine64"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing:$missing"
        export DEBIAN_FRONTEND=noninteractive
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
# each; stops at the first that fails and shows its messages.
run_jobs() {
    xargs -P "$jobs" -L 1 bash -c 'log=$0; clang++ "$@" 2>"$log" || { cat "$log" >&2; exit 255; }'
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
    local f=$(flags "$arch" "$set") p="-include-pch $dir/sdk-O2.pch -O2"
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
    llvm-rc /fo "${target%.dll}.res" "${target%.dll}.rc"
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
build_host() {
    local arch=$1 set=$2 dir=$out/host-$1-$2 machine=x64
    [ "$arch" = i686 ] && machine=x86
    rm -rf "$dir" && mkdir -p "$dir"
    local f="$(flags "$arch" "$set") -Wno-inconsistent-dllimport -include tessarc_sdk_prelude.h -O1"
    [ "$set" = 2016 ] && f="$f -DTESSARC_SDK_2016=1"
    {
        for s in win/host/*.cpp; do echo "$dir/$(basename "$s").log $f -c $s -o $dir/$(basename "${s%.cpp}").obj"; done
        for s in win/runtime/cxx.cpp win/runtime/exe_entry.cpp win/runtime/stdio.cpp; do
            echo "$dir/rt_$(basename "$s").log $(flags "$arch" "$set") -O1 -c $s -o $dir/rt_$(basename "${s%.cpp}").obj"
        done
    } | run_jobs || return 1
    # 4217: the host's own calls reach its exported definitions through their imports.
    lld-link /nologo /machine:$machine /nodefaultlib /entry:mainCRTStartup /subsystem:console /Brepro /ignore:4217 \
        /out:"$dir/orbiter.exe" /implib:"$dir/orbiter.lib" "$dir"/*.obj \
        "$out/$arch-$set/ucrtbase.lib" "$out/$arch-$set/kernel32.lib" || return 1
}
build_host x86_64 current || fail "the 64-bit test host does not build"
build_host i686 2016 || fail "the 32-bit test host does not build"

# Exported names of a PE file, one a line, sorted.
exports_of() { llvm-readobj --coff-exports "$1" | awk '/^  Name: ./ {print $2}' | sort; }
# Imported names from one DLL of a PE file.
imports_of() {
    llvm-readobj --coff-imports "$1" | awk -v dll="$2" '
        /^  Name: / {cur = $2} /^  Symbol: / && cur == dll {print $2}' | sort -u
}

echo "=== Windows check: machine, exports and imports of each module"
entry_points="ExitModule GetModuleVersion InitModule ModuleDate opcCloseRenderViewport opcDeleteVessel
opcFocusChanged opcPostStep opcPreStep"
expected_exports=$(echo $entry_points | tr ' ' '\n' | sort)
check_module() {
    local dll=$1 machine=$2 set=$3 hostexe=$4 name=${1#$root/}
    local m=$(llvm-readobj --file-headers "$dll" | awk '/Machine:/ {print $2}')
    [ "$m" = "$machine" ] || fail "$name: machine $m, not $machine"
    grep -q IMAGE_FILE_DLL <<<"$(llvm-readobj --file-headers "$dll")" || fail "$name: not a DLL"
    [ "$(exports_of "$dll")" = "$expected_exports" ] ||
        fail "$name: exports $(exports_of "$dll" | tr '\n' ' ')instead of the nine entry points"
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
    printf '%-32s %-7s 9 exports; imports %3d host functions, %2d C runtime, %d kernel32\n' "$name" \
        "$([ "$machine" = IMAGE_FILE_MACHINE_AMD64 ] && echo x86_64 || echo i686)" "$count" \
        "$(imports_of "$dll" ucrtbase.dll | wc -l)" "$(imports_of "$dll" kernel32.dll | wc -l)"
}
check_module "$out/x86/TessarcMFD_2010.dll" IMAGE_FILE_MACHINE_I386 2016 "$out/host-i686-2016/orbiter.exe"
check_module "$out/x86/TessarcMFD_2016.dll" IMAGE_FILE_MACHINE_I386 2016 "$out/host-i686-2016/orbiter.exe"
check_module "$out/x64/TessarcMFD_2016.dll" IMAGE_FILE_MACHINE_AMD64 current "$out/host-x86_64-current/orbiter.exe"

echo "=== Windows check: the 64-bit module in the test host under wine64"
wine=$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -1)
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
    fail "wine64 not found (Debian package wine64)"
else
    run=$out/wine-run
    rm -rf "$run" && mkdir -p "$run/Modules/Plugin"
    cp "$out/host-x86_64-current/orbiter.exe" "$run/"
    cp "$out/x64/TessarcMFD_2016.dll" "$run/Modules/Plugin/"
    export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
    (cd "$run" && "$wine" orbiter.exe 'Modules\Plugin\TessarcMFD_2016.dll') >"$run/output.txt" 2>"$run/wine.log" ||
        fail "the test host failed (wine messages in ${run#$root/}/wine.log)"
    tr -d '\r' <"$run/output.txt"
fi

[ "$failures" -eq 0 ] || {
    echo "Windows checks: $failures failed" >&2
    exit 1
}
echo "Windows checks passed."
