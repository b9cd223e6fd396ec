#!/usr/bin/env python3
"""Who stands on whom in the plug-in: the include graph and the call graph.

    python3 tools/include_graph.py [--objects BUILD_DIR]

A unit is a file pair (frame/registry.h with frame/registry.cpp). Prints, for each
plug-in folder, the folders its files include, then every circle among the units:
first in the include graph, then (with --objects, reading the plug-in's object
files under BUILD_DIR with nm) in the graph of which unit calls or reads what
another unit defines, which also sees a function declared in one header and
defined in another file. Exit status 1 when there is a circle or when frame's
record half includes (or calls) anything above itself.
"""
import os
import re
import subprocess
import sys
from collections import defaultdict

FOLDERS = ["frame", "control", "landing", "display", "mfd"]
# frame/ stands at the bottom and on top: its record half (the per-position record,
# names, the registry, the profile's data, the terrain query) is what every other
# folder stands on and must include nothing above itself; the entry points, the
# scheduler and the step stand on top of everything.
RECORD_HALF = ["frame/state", "frame/names", "frame/registry", "frame/profile_data",
               "frame/terrain", "frame/module_terrain", "frame/surface", "frame/module_surface"]
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units():
    """Unit name -> list of its files (relative paths)."""
    found = defaultdict(list)
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith((".h", ".cpp")):
                found[folder + "/" + name.rsplit(".", 1)[0]].append(folder + "/" + name)
    return found


def include_edges(found):
    edges = defaultdict(set)
    for unit, files in found.items():
        for f in files:
            with open(os.path.join(ROOT, f), encoding="utf-8", errors="replace") as fh:
                for inc in INCLUDE.findall(fh.read()):
                    target = inc.rsplit(".", 1)[0]
                    if target in found and target != unit:
                        edges[unit].add(target)
    return edges


def symbol_edges(found, build):
    """Edges from the units' object files: undefined symbols to their definers."""
    objects = {}
    for dirpath, _, names in os.walk(build):
        for n in names:
            if n.endswith(".cpp.o"):
                path = os.path.join(dirpath, n)
                rel = os.path.relpath(path, build)
                for unit in found:
                    if rel.endswith(os.path.join("tessarc_plugin.dir", unit + ".cpp.o")):
                        objects[unit] = path
    defined, wanted = {}, defaultdict(set)
    for unit, path in objects.items():
        out = subprocess.run(["nm", "-P", path], capture_output=True, text=True, check=True).stdout
        for line in out.splitlines():
            parts = line.split()
            if len(parts) < 2:
                continue
            sym, kind = parts[0], parts[1]
            if kind == "U":
                wanted[unit].add(sym)
            elif kind in "TDBR" and not sym.startswith("_ZTV") and not sym.startswith("_ZTI"):
                defined.setdefault(sym, unit)
    edges = defaultdict(set)
    for unit, syms in wanted.items():
        for s in syms:
            d = defined.get(s)
            if d and d != unit:
                edges[unit].add(d)
    return edges, len(objects)


def circles(nodes, edges):
    """Strongly connected components of more than one unit (Tarjan)."""
    index, low, stack, on, out = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                out.append(sorted(comp))

    sys.setrecursionlimit(10000)
    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return out


def main():
    args = sys.argv[1:]
    build = None
    if args[:1] == ["--objects"] and len(args) == 2:
        build = args[1]
    elif args:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    found = units()
    edges = include_edges(found)
    print("includes of each folder (other folders, and host/ for the host's SDK):")
    for folder in FOLDERS:
        targets = set()
        for unit in found:
            if unit.startswith(folder + "/"):
                targets |= {t.split("/")[0] for t in edges.get(unit, ()) if not t.startswith(folder + "/")}
        print("  %-8s -> %s" % (folder, ", ".join(sorted(targets)) + (", host" if targets else "host")))
    bad = False
    record_out = sorted({t for u in RECORD_HALF for t in edges.get(u, ()) if t not in RECORD_HALF})
    print("  frame's record half -> %s" % (", ".join(record_out) + ", host" if record_out else "host"))
    top_out = sorted({t.split("/")[0] for u in found if u.startswith("frame/") and u not in RECORD_HALF
                      for t in edges.get(u, ()) if not t.startswith("frame/")})
    print("  frame's top half (entry points, scheduler, step) -> %s" % ", ".join(top_out + ["host"]))
    bad |= bool(record_out)
    found_circles = circles(found, edges)
    print("include circles: %d" % len(found_circles))
    for c in found_circles:
        print("  " + " <-> ".join(c))
    bad |= bool(found_circles)
    if build:
        sym_edges, n = symbol_edges(found, build)
        sym_circles = circles(found, sym_edges)
        print("call circles (%d object files): %d" % (n, len(sym_circles)))
        for c in sym_circles:
            print("  " + " <-> ".join(c))
        bad |= bool(sym_circles)
        record_calls = sorted({t for u in RECORD_HALF for t in sym_edges.get(u, ()) if t not in RECORD_HALF})
        print("record half calls above itself: %s" % (", ".join(record_calls) or "nothing"))
        bad |= bool(record_calls)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
