#!/usr/bin/env python3
"""Files and functions too long to read in one sitting.

    python3 tools/plugin_size.py [--top N] [FOLDER ...]

Lists every C++ file over 450 lines and every function over 80 lines (from the
first line of its signature to its closing brace) in the given folders (default:
the plug-in's frame control landing display mfd, subfolders included), then the
N longest functions (default 10). Exit status 1 when anything is over a limit.

Functions are found by a brace counter that skips comments, string and
character literals and preprocessor lines: a brace at namespace or class level
whose header has a parameter list and is not a class, enum or initialiser opens
a function body; everything inside it (lambdas, local classes) belongs to it.
"""
import os
import re
import sys

MAX_FILE_LINES = 450
MAX_FUNCTION_LINES = 80
PLUGIN_FOLDERS = ["frame", "control", "landing", "display", "mfd"]


def strip(text):
    """The text with comments, literals and preprocessor lines blanked; newlines kept."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            # A preprocessor line, with its continuations.
            while i < n and text[i] != "\n":
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    out.append(" \n")
                    i += 2
                    continue
                out.append(" ")
                i += 1
            continue
        if c == "/" and text.startswith("//", i):
            while i < n and text[i] != "\n":
                out.append(" ")
                i += 1
            continue
        if c == "/" and text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("".join("\n" if ch == "\n" else " " for ch in text[i:j]))
            i = j
            continue
        if c == "R" and text.startswith('R"', i):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if m:
                end = text.find(")" + m.group(1) + '"', i)
                end = n if end < 0 else end + len(m.group(1)) + 2
                out.append("".join("\n" if ch == "\n" else " " for ch in text[i:end]))
                i = end
                continue
        if c in "\"'":
            # A digit separator (1'000) is no literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                out.append(" ")
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
            line_start = False
            continue
        out.append(c)
        if c == "\n":
            line_start = True
        elif not c.isspace():
            line_start = False
        i += 1
    return "".join(out)


def header_kind(header):
    h = " ".join(header.split())
    if re.search(r"\bnamespace\b", h) or re.match(r'^extern\s*"', h):
        return "scope"
    if re.search(r"\benum\b", h):
        return "other"
    if re.search(r"\b(class|struct|union)\b", h) and ")" not in h.split(":")[0]:
        return "scope"
    if re.search(r"=\s*$", h) or h.endswith(",") or h == "" or h.endswith("return"):
        return "other"
    if ")" in h:
        return "function"
    return "other"


def functions(path):
    """(name, first line, last line) of every function body defined in the file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        text = strip(f.read())
    found = []
    stack = []  # kinds of the open braces
    header_start = 0
    func_start = None
    line = 1
    header_line = None
    for i, c in enumerate(text):
        if c == "\n":
            line += 1
            continue
        in_function = any(k == "function" for k in stack)
        if c in ";{}" and not in_function:
            header = text[header_start:i]
            if c == "{":
                kind = header_kind(header)
                if kind == "function":
                    name = re.findall(r"([~\w:]+(?:<[^()]*>)?|operator\s*\S+)\s*\(", header)
                    func_start = (name[0] if name else "?", header_line or line)
                stack.append(kind)
            elif c == "}":
                if stack:
                    stack.pop()
            header_start = i + 1
            header_line = None
            continue
        if not in_function and header_line is None and not c.isspace():
            header_line = line
        if in_function:
            if c == "{":
                stack.append("inner")
            elif c == "}":
                kind = stack.pop()
                if kind == "function":
                    found.append((func_start[0], func_start[1], line))
                    func_start = None
                    header_start = i + 1
                    header_line = None
    return found


def main(argv):
    top = 10
    folders = []
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--top":
            top = int(args.pop(0))
        else:
            folders.append(a)
    folders = folders or PLUGIN_FOLDERS
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    long_files, all_functions = [], []
    for folder in folders:
        base = folder if os.path.isabs(folder) else os.path.join(root, folder)
        for dirpath, _, names in sorted(os.walk(base)):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8", errors="replace") as f:
                    count = sum(1 for _ in f)
                if count > MAX_FILE_LINES:
                    long_files.append((count, rel))
                for fn, first, last in functions(path):
                    all_functions.append((last - first + 1, rel, first, fn))
    all_functions.sort(key=lambda t: (-t[0], t[1], t[2]))
    too_long = [f for f in all_functions if f[0] > MAX_FUNCTION_LINES]
    print("files over %d lines: %d" % (MAX_FILE_LINES, len(long_files)))
    for count, rel in sorted(long_files, reverse=True):
        print("  %5d  %s" % (count, rel))
    print("functions over %d lines: %d" % (MAX_FUNCTION_LINES, len(too_long)))
    for n, rel, first, fn in too_long:
        print("  %5d  %s:%d  %s" % (n, rel, first, fn))
    print("longest functions:")
    for n, rel, first, fn in all_functions[:top]:
        print("  %5d  %s:%d  %s" % (n, rel, first, fn))
    return 1 if long_files or too_long else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
