#!/usr/bin/python3
"""Draws two landing campaigns flown from the same starts (the specified and the
efficient descent profile, say) side by side, per lander class: the delta-v
each landing used over the ideal (orbit starts: a takeover has no ideal), what
became of the starts (soft landings, refusals for fuel and for other reasons,
hard contacts and losses), and the touchdowns (miss from the pad against the
speed down).

    campaign_compare.py A/results.csv B/results.csv PICTURE.png [NAME_A NAME_B]

Each campaign is named by NAME, else by the "descent profile:" line of the
summary.txt beside its table, else by its folder.
"""
import csv
import math
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

from campaign_plot import class_names  # noqa: E402

GOAL_RATIO = 1.15       # delta-v used over the ideal the efficient profile aims for
SOFT_DOWN = 1.0         # m/s at first contact, a soft landing
FUEL_REFUSAL = "not enough fuel"
COLOURS = ["tab:blue", "tab:orange"]
OUTCOMES = ["soft", "refused: fuel", "refused: other", "hard, lost, aborted", "other"]


def name_of(results, given):
    if given:
        return given
    try:
        with open(os.path.join(os.path.dirname(results), "summary.txt")) as f:
            for line in f:
                if line.startswith("descent profile:"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return os.path.basename(os.path.dirname(os.path.abspath(results)))


def outcome(r):
    """The start's fate, one of OUTCOMES. Soft: down at most 1 m/s inside the box."""
    if r["outcome"] == "refused":
        return "refused: fuel" if r["reason"] == FUEL_REFUSAL else "refused: other"
    if r["outcome"] == "landed":
        inside = abs(float(r["miss_along_m"])) < float(r["box_along"]) and \
            abs(float(r["miss_cross_m"])) < float(r["box_cross"])
        return "soft" if -float(r["vs"]) <= SOFT_DOWN and inside else "other"
    return "hard, lost, aborted"


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    files = sys.argv[1:3]
    given = (sys.argv[4:6] + [None, None])[:2]
    runs = [(name_of(f, g), list(csv.DictReader(open(f)))) for f, g in zip(files, given)]
    names = class_names(files[0])
    classes = sorted({r["lander"] for _, rows in runs for r in rows})

    fig, (ax1, ax2, ax3) = plt.subplots(1, 3, figsize=(16, 5))
    fig.suptitle("%s against %s, the same starts" % (runs[0][0], runs[1][0]))

    # Delta-v over the ideal: one box per class and campaign.
    for j, (name, rows) in enumerate(runs):
        data = [[float(r["dv_used"]) / float(r["dv_ideal"]) for r in rows
                 if r["lander"] == c and r["outcome"] in ("landed", "hard") and float(r["dv_ideal"]) > 0]
                for c in classes]
        where = [i * 3 + j for i in range(len(classes))]
        kept = [(w, d) for w, d in zip(where, data) if d]
        if kept:
            box = ax1.boxplot([d for _, d in kept], positions=[w for w, _ in kept], widths=0.8,
                              patch_artist=True, whis=(10, 90), showfliers=True)
            for patch in box["boxes"]:
                patch.set_facecolor(COLOURS[j])
            ax1.plot([], [], color=COLOURS[j], lw=8, label=name)
    ax1.axhline(GOAL_RATIO, ls="--", color="green", label="goal %.2f" % GOAL_RATIO)
    ax1.set_xticks([i * 3 + 0.5 for i in range(len(classes))])
    ax1.set_xticklabels([names.get(c, "lander " + c) for c in classes], fontsize=8)
    ax1.set_ylabel("delta-v used / ideal (box: quartiles, whiskers 10-90%)")
    ax1.set_title("delta-v over the ideal, orbit starts")
    ax1.legend(fontsize=8)

    # What became of the starts: stacked bars per class and campaign.
    hatches = ["", "//", "..", "xx", "--"]
    most = 1
    for j, (name, rows) in enumerate(runs):
        bottom = [0] * len(classes)
        for k, o in enumerate(OUTCOMES):
            counts = [sum(1 for r in rows if r["lander"] == c and outcome(r) == o) for c in classes]
            ax2.bar([i * 3 + j for i in range(len(classes))], counts, bottom=bottom, color=COLOURS[j],
                    hatch=hatches[k], edgecolor="black", alpha=1.0 - 0.15 * k,
                    label=o if j == 0 else None)
            bottom = [b + n for b, n in zip(bottom, counts)]
        most = max([most] + bottom)
    ax2.set_xticks([i * 3 + 0.5 for i in range(len(classes))])
    ax2.set_xticklabels([names.get(c, "lander " + c) for c in classes], fontsize=8)
    ax2.set_ylabel("starts (left bar %s, right bar %s)" % (runs[0][0], runs[1][0]))
    ax2.set_title("what became of the starts")
    ax2.set_ylim(0, most * 1.3)
    ax2.legend(fontsize=8, loc="upper center", ncol=3)

    # Touchdowns: miss from the pad against the speed down.
    fastest = SOFT_DOWN
    for j, (name, rows) in enumerate(runs):
        down = [r for r in rows if r["outcome"] in ("landed", "hard")]
        fastest = max([fastest] + [-float(r["vs"]) for r in down])
        ax3.scatter([math.hypot(float(r["miss_along_m"]), float(r["miss_cross_m"])) for r in down],
                    [-float(r["vs"]) for r in down], s=12, alpha=0.6, color=COLOURS[j], label=name)
    ax3.axhline(SOFT_DOWN, ls=":", color="green")
    ax3.set_xlim(left=0.0)
    ax3.set_ylim(0.0, fastest * 1.2)
    ax3.set_xlabel("miss from the pad, m")
    ax3.set_ylabel("speed down at first contact, m/s")
    ax3.set_title("touchdowns")
    ax3.legend(fontsize=8)
    fig.tight_layout()
    fig.savefig(sys.argv[3], dpi=90)


if __name__ == "__main__":
    main()
