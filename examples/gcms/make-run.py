#!/usr/bin/env python3
"""Writes gcms-run.jdx: a small synthetic GC-MS run as a JCAMP-DX NTUPLES file (one page per
scan), five compounds eluting over a drifting background of air and water ions. The pictures
of the desktop and the GC-MS examples use it; run again only to change the run."""
import math
import random

COMPOUNDS = [  # retention time (min), peak height (counts), relative spectrum
    (2.10, 60000, {15: 30, 28: 10, 29: 65, 30: 10, 31: 100, 32: 70}),  # methanol
    (3.05, 90000, {15: 6, 27: 20, 29: 25, 30: 6, 31: 100, 43: 10, 45: 50, 46: 20}),  # ethanol
    (3.90, 120000, {15: 35, 26: 5, 27: 6, 29: 4, 39: 4, 42: 8, 43: 100, 58: 60}),  # acetone
    (6.40, 150000, {39: 12, 50: 16, 51: 18, 52: 19, 74: 5, 76: 5, 77: 22, 78: 100, 79: 7}),  # benzene
    (8.20, 110000, {39: 10, 51: 6, 63: 7, 65: 11, 89: 4, 91: 100, 92: 62, 93: 5}),  # toluene
]
BACKGROUND = {18: 900, 28: 2500, 32: 700, 44: 300}
FIRST, LAST, STEP, WIDTH = 1.00, 10.00, 0.02, 0.035


def scan(t, rng):
    counts = {m: v * (1.0 + 0.15 * t / LAST) * rng.uniform(0.95, 1.05) for m, v in BACKGROUND.items()}
    for rt, height, spectrum in COMPOUNDS:
        share = height * math.exp(-0.5 * ((t - rt) / WIDTH) ** 2)
        if share < 50:
            continue
        for m, rel in spectrum.items():
            counts[m] = counts.get(m, 0.0) + share * rel / 100.0 * rng.uniform(0.97, 1.03)
    return {m: int(round(c)) for m, c in sorted(counts.items()) if round(c) > 0}


def main():
    rng = random.Random(7)
    lines = ["##TITLE=Example GC-MS run, five compounds", "##JCAMP-DX=5.01", "##DATA TYPE=MASS SPECTRUM",
             "##NTUPLES=MASS SPECTRUM", "##VAR_NAME=MASS, INTENSITY, RETENTION TIME",
             "##UNITS=M/Z, RELATIVE ABUNDANCE, MINUTES"]
    n = int(round((LAST - FIRST) / STEP)) + 1
    for i in range(n):
        t = FIRST + i * STEP
        peaks = scan(t, rng)
        lines.append("##PAGE= T=%.2f" % t)
        lines.append("##NPOINTS=%d" % len(peaks))
        lines.append("##DATA TABLE= (XY..XY), PEAKS")
        pairs = ["%d,%d" % mi for mi in peaks.items()]
        for k in range(0, len(pairs), 6):
            lines.append(" ".join(pairs[k:k + 6]))
    lines += ["##END NTUPLES=MASS SPECTRUM", "##END="]
    with open("gcms-run.jdx", "w", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
