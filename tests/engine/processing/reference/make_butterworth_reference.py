#!/usr/bin/python3
"""Reference outputs of the zero-lag Butterworth filter, computed with scipy.

Run once from this folder: /usr/bin/python3 make_butterworth_reference.py
It writes butterworth_signals.txt (synthetic signals, input and output) and
evart_filtered.txt (marks of the real capture evart.idf filtered stretch by stretch).
"""
import math
import os

import numpy as np
from scipy.signal import butter, filtfilt

LOST = 999999.0


def zero_lag(x, cutoff, rate, order):
    """The filter as gait analysis counts its order: a Butterworth of half the order, run
    forward and backward, at the cutoff corrected for the two passes."""
    n = order // 2
    c = (math.sqrt(2) - 1) ** (1 / (2 * n))
    b, a = butter(n, cutoff / c, fs=rate)
    return filtfilt(b, a, x, padtype="odd", padlen=3 * (n + 1))


def signals():
    rate = 100.0
    t = np.arange(250) / rate
    rng = np.random.default_rng(22)
    cases = [
        ("step", 6.0, 4, np.where(np.arange(200) < 100, 0.0, 1.0)),
        ("sine_below", 6.0, 4, 50 * np.sin(2 * math.pi * 2 * t) + 800),
        ("sine_above", 6.0, 4, 50 * np.sin(2 * math.pi * 20 * t) + 800),
        ("noisy_order2", 4.0, 2, 100 * np.sin(2 * math.pi * 1.5 * t) + rng.normal(0, 3, t.size)),
        ("noisy_order6", 8.0, 6, 100 * np.cos(2 * math.pi * 3 * t) + rng.normal(0, 3, t.size)),
        ("shortest_order4", 6.0, 4, rng.normal(0, 10, 10)),
    ]
    with open("butterworth_signals.txt", "w") as out:
        for name, cutoff, order, x in cases:
            y = zero_lag(x, cutoff, rate, order)
            out.write(f"case {name} {rate:g} {cutoff:g} {order} {len(x)}\n")
            for xi, yi in zip(x, y):
                out.write(f"{xi:.17g} {yi:.17g}\n")


def read_idf(path):
    with open(path) as f:
        lines = f.read().splitlines()
    rate = float(lines[1].split(":")[1])
    columns = int(lines[2].split(":")[1])
    frames = int(lines[3].split(":")[1])
    names = [lines[5 + 3 * m].split("_x_")[0] for m in range(columns // 3)]
    data = np.full((frames, columns), LOST)
    start = lines.index("DATA_SECTION") + 1
    for line in lines[start:]:
        if not line.strip():
            continue
        column, frame, value = line.split()
        data[int(frame), int(column)] = float(value)
    return rate, names, data


def real_capture():
    rate, names, data = read_idf(os.path.join("..", "..", "..", "..", "..", "shared", "data", "evart.idf"))
    cutoff, order = 6.0, 4
    shortest = 3 * (order // 2 + 1) + 1
    marks = [names.index(n) for n in ("RSHO", "LANK", "LTOE")]
    with open("evart_filtered.txt", "w") as out:
        out.write(f"# evart.idf at {cutoff:g} Hz, order {order}: mark frame x y z\n")
        for m in marks:
            result = data[:, 3 * m:3 * m + 3].copy()
            for axis in range(3):
                x = data[:, 3 * m + axis]
                seen = x <= 999998.0
                f = 0
                while f < len(x):
                    if not seen[f]:
                        f += 1
                        continue
                    s = f
                    while f < len(x) and seen[f]:
                        f += 1
                    if f - s >= shortest:
                        result[s:f, axis] = zero_lag(x[s:f], cutoff, rate, order)
            for frame in range(len(result)):
                out.write(f"{m} {frame} " + " ".join(f"{v:.17g}" for v in result[frame]) + "\n")


if __name__ == "__main__":
    signals()
    real_capture()
