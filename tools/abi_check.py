#!/usr/bin/env python3
"""The host's binary interface, checked against the facts of each host generation
(../shared/orbitersdk/abi), never against the headers a module compiles with.

    abi_check.py tables FACTS CLASS DUMP...
        The virtual table of CLASS as the module's own compile laid it out (clang's
        -fdump-vtable-layouts output of each of the module's objects, DUMP...) must
        equal FACTS slot for slot, up to the last slot the compile declares. CLASS
        is a table the module calls through (e.g. drawtable::Sketchpad) or one it
        lays out for the host to call (e.g. TessarcMFD: the MFD2 table of its
        objects). Prints the comparison; exit status 1 on any difference or when
        no object shows the table.
    abi_check.py surface FACTS NAME
        A C++ class NAME whose virtual table follows FACTS, each entry handing the
        call to the same method of an oapi::Sketchpad (for a test host that draws
        through one generation's table).
    abi_check.py facts DUMP CLASS
        The table of CLASS in a clang dump, written as facts are ("slot | entry").
"""
import re
import sys

FACT = re.compile(r"^\s*(\d+)\s*\|\s*(.*?)\s*$")


def read_facts(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = FACT.match(line)
            if m:
                rows.append((int(m.group(1)), m.group(2)))
    return [entry for _, entry in sorted(rows)]


def normal(entry):
    """An entry without its class: 'ret Name(params) [const]', the destructor as
    '~'. A const on the method changes neither the slot nor the call; marks such as
    [pure] are dropped."""
    entry = re.sub(r"\s*\[(pure|scalar deleting|vector deleting)\]", "", entry).strip()
    if "~" in entry.split("(")[0]:
        return "~"
    head, _, rest = entry.partition("(")
    name = re.sub(r"^.*::", "", head.split(" ")[-1].lstrip("*&"))
    ret = head[: head.rfind(head.split(" ")[-1])].strip()
    star = re.match(r"^[*&]+", head.split(" ")[-1])
    if star:
        ret += " " + star.group(0)
    params, _, quals = rest.rpartition(")")
    quals = quals.replace("const", "").strip()
    return f"{ret} {name}({params}) {quals}".strip()


def dumped_tables(paths, cls):
    """Each table of cls in the dumps, as (file, laid_out, {slot: entry}). A class
    the module defines (its objects' table, 'VFTable for ... in cls') is laid out
    by the module for the host to call; any other is one the module calls through
    ('VFTable indices for cls')."""
    found = {}
    for path in paths:
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = f.read().split("\n")
        for i, line in enumerate(lines):
            laid_out = re.match(rf"VFTable for '.*' in '{re.escape(cls)}' \(\d+ entries\)\.$", line)
            if not laid_out and not line.startswith(f"VFTable indices for '{cls}' ("):
                continue
            rows = {}
            for row in lines[i + 1:]:
                m = FACT.match(row)
                if not m:
                    break
                if "RTTI" not in m.group(2):
                    rows[int(m.group(1))] = m.group(2)
            found.setdefault((bool(laid_out), tuple(sorted(rows.items()))), path)
    tables = [(path, laid_out, dict(rows)) for (laid_out, rows), path in found.items()]
    # Where the module lays the class out, its own table is the one to check.
    if any(t[1] for t in tables):
        tables = [t for t in tables if t[1]]
    return tables


def check_tables(facts_path, cls, dumps):
    facts = read_facts(facts_path)
    name = facts_path.rsplit("/", 1)[-1]
    tables = dumped_tables(dumps, cls)
    if not tables:
        print(f"FAIL: no object of the module lays out or calls through {cls}")
        return 1
    failed = 0
    for path, laid_out, rows in tables:
        last = max(rows)
        bad = []
        if laid_out and last + 1 < len(facts):
            bad.append(f"{last + 1} slots, the host calls {len(facts)}")
        if not laid_out and last >= len(facts):
            bad.append(f"slot {last} called, the host has {len(facts)}")
        # The host calls every slot of a table the module lays out; of one the
        # module calls through, the slots up to the last it declares.
        upto = len(facts) if laid_out else min(last + 1, len(facts))
        for slot in range(upto):
            entry = rows.get(slot)
            if entry is None:
                if laid_out:
                    bad.append(f"slot {slot}: missing")
                continue
            if normal(entry) != normal(facts[slot]):
                bad.append(f"slot {slot}: module '{normal(entry)}', host '{normal(facts[slot])}'")
        what = "lays it out" if laid_out else "calls through it"
        if bad:
            failed += 1
            print(f"FAIL {cls} as the module {what} ({path.rsplit('/', 1)[-1]}), against {name}:")
            for b in bad[:6]:
                print(f"        {b}")
        else:
            print(f"ok   {cls} as the module {what}: slots 0-{upto - 1} equal {name} "
                  f"(slot {upto - 1}: {normal(facts[upto - 1])})")
    return 1 if failed else 0


def surface(facts_path, name):
    out = [f"// Generated from {facts_path.rsplit('/', 1)[-1]}: a surface whose virtual table follows it.",
           f"class {name} {{", "public:",
           f"    explicit {name}(oapi::Sketchpad &target) : to(target) {{}}"]
    for entry in read_facts(facts_path):
        if "~" in entry.split("(")[0]:
            out.append(f"    virtual ~{name}() {{}}")
            continue
        head, _, rest = entry.partition("(")
        last = head.split(" ")[-1]
        method = re.sub(r"^.*::", "", last.lstrip("*&"))
        ret = head[: head.rfind(last)].strip() + (re.match(r"^[*&]*", last).group(0))
        params, _, quals = rest.rpartition(")")
        types = [t.strip() for t in params.split(",")] if params.strip() else []
        args = ", ".join(f"{t} a{i}" for i, t in enumerate(types))
        call = f"to.{method}({', '.join(f'a{i}' for i in range(len(types)))})"
        body = f"return {call};" if ret != "void" else f"{call};"
        out.append(f"    virtual {ret} {method}({args}){quals} {{ {body} }}")
    out += ["private:", "    oapi::Sketchpad &to;", "};"]
    print("\n".join(out))
    return 0


def facts_from_dump(dump, cls):
    tables = dumped_tables([dump], cls)
    if not tables:
        return 1
    for slot, entry in sorted(tables[0][2].items()):
        print(f"{slot} | {entry}")
    return 0


def main(argv):
    if len(argv) >= 4 and argv[1] == "tables":
        return check_tables(argv[2], argv[3], argv[4:])
    if len(argv) == 4 and argv[1] == "surface":
        return surface(argv[2], argv[3])
    if len(argv) == 4 and argv[1] == "facts":
        return facts_from_dump(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
