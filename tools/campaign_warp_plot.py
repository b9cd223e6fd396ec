#!/usr/bin/python3
"""Sets the same dispersed landings flown with the pilot at different time
accelerations side by side: per start, the miss from the pad and the speeds at
first contact; prints the figures by time acceleration and the largest
difference any start shows against 1x.

    campaign_warp_plot.py PICTURE.png SUMMARY.txt W1:RESULTS1.csv W2:RESULTS2.csv ...
"""
import csv
import math
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def load(arg):
    warp, path = arg.split(":", 1)
    return warp, {int(r["index"]): r for r in csv.DictReader(open(path))}


def miss(r):
    return math.hypot(float(r["miss_along_m"]), float(r["miss_cross_m"]))


def down(r):
    return r["outcome"] in ("landed", "hard")


def median(v):
    v = sorted(v)
    return v[len(v) // 2] if v else float("nan")


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    runs = [load(a) for a in sys.argv[3:]]
    starts = sorted(set.intersection(*[set(k for k, r in rows.items() if down(r)) for _, rows in runs]))
    lines = ["%d starts flown at every time acceleration (of %d)" % (len(starts), len(runs[0][1]))]
    for warp, rows in runs:
        rs = [rows[i] for i in starts]
        ok = sum(1 for r in rs if r["outcome"] == "landed" and float(r["vs"]) >= -1.0
                 and abs(float(r["miss_along_m"])) < float(r["box_along"])
                 and abs(float(r["miss_cross_m"])) < float(r["box_cross"]))
        refused = sum(1 for r in rows.values() if r["outcome"] == "refused")
        lines.append("%6sx: soft in the box %d of %d, refused %d; miss median %.2f max %.2f m; "
                     "down median %.2f max %.2f m/s; across max %.2f m/s; dv used/ideal median %.3f"
                     % (warp, ok, len(rs), refused, median([miss(r) for r in rs]), max(miss(r) for r in rs),
                        median([-float(r["vs"]) for r in rs]), max(-float(r["vs"]) for r in rs),
                        max(float(r["hs"]) for r in rs),
                        median([float(r["dv_used"]) / float(r["dv_ideal"]) for r in rs])))
    base = runs[0][1]
    for warp, rows in runs[1:]:
        dm = max(abs(miss(rows[i]) - miss(base[i])) for i in starts)
        dv = max(abs(float(rows[i]["vs"]) - float(base[i]["vs"])) for i in starts)
        lines.append("%6sx against %sx: largest difference of a start: miss %.2f m, down %.2f m/s"
                     % (warp, runs[0][0], dm, dv))
    open(sys.argv[2], "w").write("\n".join(lines) + "\n")
    print("\n".join(lines))

    fig, (ax1, ax2) = plt.subplots(1, 2, figsize=(12, 4.6))
    fig.suptitle("the same %d landings with the pilot at %s" % (len(starts), ", ".join(w + "x" for w, _ in runs)))
    width = 0.8 / len(runs)
    for k, (warp, rows) in enumerate(runs):
        xs = [j + (k - (len(runs) - 1) / 2.0) * width for j in range(len(starts))]
        ax1.bar(xs, [miss(rows[i]) for i in starts], width, label=warp + "x")
        ax2.bar(xs, [-float(rows[i]["vs"]) for i in starts], width, label=warp + "x")
    for ax in (ax1, ax2):
        ax.set_xticks(range(len(starts)))
        ax.set_xticklabels([str(i) for i in starts], fontsize=7)
        ax.set_xlabel("start")
        ax.legend(fontsize=8)
    ax1.set_ylabel("touchdown point from the pad, m")
    ax1.set_title("miss")
    ax2.axhline(1.0, ls=":", color="green")
    ax2.set_ylabel("speed down at first contact, m/s")
    ax2.set_title("touchdown (dotted: 1 m/s)")
    fig.tight_layout()
    fig.savefig(sys.argv[1], dpi=90)


if __name__ == "__main__":
    main()
