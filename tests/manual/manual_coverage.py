#!/usr/bin/env python3
"""The pilot's manual names every key, button and text the plug-in shows.

What must be there is read from the plug-in's own sources, never from the
manual: the key codes (mfd/buttons.h) that the key handler (mfd/keys.cpp) or a
button (mfd/buttons.cpp) uses, the button labels and
button-menu texts (mfd/buttons.cpp), the input-box titles (mfd/dialogs.cpp),
every text the pages draw (display/), every text of the landing autopilot
(landing/) and every debug-line text of the plug-in. A key must appear as
<kbd>NAME</kbd>, a button label as `LABEL`, a text with its words as written
(each part between the numbers a text carries).

usage: manual_coverage.py [ROOT] [--manual FILE]   (exit 1 and a list when one is missing)
"""
import glob
import os
import re
import sys

# The key's name on the keyboard, for the host's key codes that are not a letter or digit.
KEY_NAMES = {"BACK": "Backspace", "TAB": "Tab", "ENTER": "Enter", "SPACE": "Space", "SLASH": "/",
             "OEM_102": "&lt;&gt;", "UP": "Up", "DOWN": "Down", "LEFT": "Left", "RIGHT": "Right",
             "END": "End", "PGUP": "PgUp", "PGDN": "PgDn", "INSERT": "Insert", "DELETE": "Delete"}
PLUGIN = ("frame", "control", "landing", "display", "mfd")
# Literals of the page code that are not texts for the pilot.
NOT_SHOWN = {"JanFebMarAprMayJunJulAugSepOctNovDec", "Fixed"}  # month names; the host font face

FORMAT = re.compile(r"%[-+ #0]*(\*|\d+)?(\.(\*|\d+))?[hlLzjt]*[diouxXeEfgGcsp%]")
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def code(path):
    """The file without comments, #include lines and extern "C"."""
    text = open(path, encoding="latin-1").read()
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            i = text.find("\n", i) if text.find("\n", i) >= 0 else n
        elif text.startswith("/*", i):
            i = text.find("*/", i) + 2 if text.find("*/", i) >= 0 else n
        elif text[i] in "\"'":
            j = i + 1
            while j < n and text[j] != text[i]:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(text[i])
            i += 1
    text = "".join(out)
    text = re.sub(r'extern\s+"C"', "", text)
    return re.sub(r"^\s*#\s*include.*$", "", text, flags=re.M)


def unescape(s):
    return bytes(s, "latin-1").decode("unicode_escape").replace("\xb0", "°")


def parts(literal):
    """The pieces of a text between its numbers and names, those with a letter."""
    return [p.strip() for p in FORMAT.split(unescape(literal))[::4] if re.search(r"[A-Za-z]", p or "")]


def flat(s):
    return re.sub(r"\s+", " ", s)


def main():
    args = sys.argv[1:]
    manual_path = None
    if "--manual" in args:
        i = args.index("--manual")
        manual_path = args[i + 1]
        del args[i:i + 2]
    root = os.path.abspath(args[0] if args else os.path.join(os.path.dirname(__file__), "..", ".."))
    manual = flat(open(manual_path or os.path.join(root, "docs", "manual", "TessarcMFD.md"), encoding="utf-8").read())
    missing = []

    codes = set(re.findall(r"\bKEY_([A-Z0-9_]+)\s*=\s*\d+", code(os.path.join(root, "mfd", "buttons.h"))))
    used = code(os.path.join(root, "mfd", "keys.cpp")) + code(os.path.join(root, "mfd", "buttons.cpp"))
    for key in sorted(codes & set(re.findall(r"\bKEY_([A-Z0-9_]+)\b", used))):
        name = KEY_NAMES.get(key, key if len(key) == 1 else None)
        if name is None:
            missing.append("key KEY_%s: no name for it in this test" % key)
        elif "<kbd>%s</kbd>" % name not in manual:
            missing.append("key <kbd>%s</kbd>" % name)

    for text in LITERAL.findall(code(os.path.join(root, "mfd", "buttons.cpp"))):
        if text.strip() in ("", "---"):
            continue
        wanted = "`%s`" % text if len(text) == 3 else flat(text)
        if wanted not in manual:
            missing.append("button %r (mfd/buttons.cpp)" % wanted)

    sources = [os.path.join(root, "mfd", "dialogs.cpp")]
    sources += sorted(glob.glob(os.path.join(root, "display", "*.cpp")))
    sources += sorted(glob.glob(os.path.join(root, "landing", "*.cpp")))
    texts = [(s, t) for s in sources for t in LITERAL.findall(code(s))]
    for s in [f for d in PLUGIN for f in glob.glob(os.path.join(root, d, "*.cpp"))]:
        for call in re.findall(r"oapiDebugString\(\)\s*,[^;]*", code(s)):
            texts += [(s, t) for t in LITERAL.findall(call)]
    for source, text in texts:
        if text in NOT_SHOWN:
            continue
        for part in parts(text):
            if flat(part) not in manual:
                missing.append("text %r of %r (%s)" % (part, unescape(text), os.path.relpath(source, root)))

    for m in sorted(set(missing)):
        print("missing from the manual:", m)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
