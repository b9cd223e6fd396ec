#!/usr/bin/python3
"""Draws a landing campaign's results table: where each landing touched down
relative to its pad (along and across the final approach, with the precision
box), and its touchdown speeds (down and across, with the hard-contact limits),
one colour per lander class (named in classes.txt beside the table) and one
marker per kind of start (an orbit, or a takeover near the pad).

    campaign_plot.py RESULTS.csv PICTURE.png [TITLE]
"""
import csv
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

HARD_DOWN = 3.0     # m/s at first contact
HARD_ACROSS = 2.0   # m/s at first contact
SOFT_DOWN = 1.0     # m/s, a soft landing


COLOURS = ["tab:blue", "tab:orange", "tab:green", "tab:purple"]
# The kinds of start by the table's "start" column, with their markers.
KINDS = {"0": ("orbit", "o"), "1": ("hover", "s"), "2": ("low-slow", "^"), "3": ("arc", "D"),
         "4": ("hop", "v"), "5": ("stop-resume", "P")}


def groups(rows):
    """The (lander, start kind) pairs the rows hold, in order."""
    return sorted({(r["lander"], r.get("start", "0")) for r in rows})


def style(names, lander, kind):
    """Colour, marker and legend label of a lander class and start kind."""
    kname, marker = KINDS.get(kind, ("start " + kind, "x"))
    return COLOURS[int(lander) % len(COLOURS)], marker, "%s, %s" % (names.get(lander, "lander " + lander), kname)


def class_names(results):
    """The lander classes by index, from classes.txt beside the table (if any)."""
    try:
        with open(os.path.join(os.path.dirname(results), "classes.txt")) as f:
            return {str(i): line.strip() for i, line in enumerate(f) if line.strip()}
    except OSError:
        return {}


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    rows = list(csv.DictReader(open(sys.argv[1])))
    title = sys.argv[3] if len(sys.argv) > 3 else "landing campaign"
    down = [r for r in rows if r["outcome"] in ("landed", "hard")]
    refused = [r for r in rows if r["outcome"] == "refused"]
    lost = [r for r in rows if r["outcome"] not in ("landed", "hard", "refused")]

    fig, (ax1, ax2) = plt.subplots(1, 2, figsize=(11, 4.8))
    fig.suptitle("%s: %d landings, %d touched down, %d refused, %d lost"
                 % (title, len(rows), len(down), len(refused), len(lost)))

    near = [r for r in down if abs(float(r["miss_along_m"])) < 20 and abs(float(r["miss_cross_m"])) < 20]
    far = len(down) - len(near)
    names = class_names(sys.argv[1])
    for k, kind in groups(down):
        mine = [r for r in near if r["lander"] == k and r.get("start", "0") == kind]
        colour, marker, label = style(names, k, kind)
        ax1.scatter([float(r["miss_cross_m"]) for r in mine], [float(r["miss_along_m"]) for r in mine],
                    s=12, alpha=0.6, color=colour, marker=marker, label=label)
    hard = [r for r in near if r["outcome"] == "hard"]
    if hard:
        ax1.scatter([float(r["miss_cross_m"]) for r in hard], [float(r["miss_along_m"]) for r in hard],
                    s=30, facecolors="none", edgecolors="red", label="hard contact")
    if down:
        ax1.legend(loc="upper left", fontsize=8)
    if down:
        bx, by = float(down[0]["box_cross"]), float(down[0]["box_along"])
        ax1.add_patch(plt.Rectangle((-bx, -by), 2 * bx, 2 * by, fill=False, ls="--", color="grey"))
    # Zoomed to the box when every touchdown lies near it.
    span = 20.0
    if down:
        box = max(float(down[0]["box_cross"]), float(down[0]["box_along"]))
        worst = max(max(abs(float(r["miss_along_m"])), abs(float(r["miss_cross_m"]))) for r in down)
        if worst < 1.2 * box:
            span = 1.5 * box
    ax1.set_xlim(-span, span)
    ax1.set_ylim(-span, span)
    ax1.set_aspect("equal")
    ax1.set_xlabel("across the final approach, m")
    ax1.set_ylabel("along the final approach, m")
    ax1.set_title("touchdown point from the pad (box: precision box)" + (", %d off the plot" % far if far else ""))

    for k, kind in groups(down):
        mine = [r for r in down if r["lander"] == k and r.get("start", "0") == kind]
        colour, marker, _ = style(names, k, kind)
        ax2.scatter([float(r["hs"]) for r in mine], [-float(r["vs"]) for r in mine], s=12,
                    alpha=0.6, color=colour, marker=marker)
    if hard:
        ax2.scatter([float(r["hs"]) for r in hard], [-float(r["vs"]) for r in hard], s=30,
                    facecolors="none", edgecolors="red")
    ax2.axhline(SOFT_DOWN, ls=":", color="green")
    ax2.axhline(HARD_DOWN, ls="--", color="red")
    ax2.axvline(HARD_ACROSS, ls="--", color="red")
    ax2.set_xscale("symlog", linthresh=1.0)
    ax2.set_yscale("symlog", linthresh=1.0)
    ax2.set_xlim(left=0.0)
    ax2.set_ylim(bottom=0.0)
    ax2.set_xlabel("speed across at first contact, m/s")
    ax2.set_ylabel("speed down at first contact, m/s")
    ax2.set_title("touchdown speeds (red lines: hard contact)")
    fig.tight_layout()
    fig.savefig(sys.argv[2], dpi=90)


if __name__ == "__main__":
    main()
