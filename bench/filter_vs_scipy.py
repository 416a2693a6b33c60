#!/usr/bin/python3
"""The zero-lag Butterworth of zemo-bench done with scipy, for the comparison in the same run.

filter_vs_scipy.py DATA RESULT CUTOFF RATE ORDER: DATA holds float64 coordinates, mark by mark
and axis by axis (NaN where lost); each gap-free stretch is filtered with filtfilt as Zemo does,
and the best wall time of the filtering, in milliseconds, is written to RESULT.
"""
import math
import sys
import time

import numpy as np
from scipy.signal import butter, filtfilt


def main():
    data_path, result_path, cutoff, rate, order, marks, frames = sys.argv[1:8]
    cutoff, rate, order, marks, frames = float(cutoff), float(rate), int(order), int(marks), int(frames)
    data = np.fromfile(data_path, dtype=np.float64).reshape(marks, 3, frames)
    n = order // 2
    c = (math.sqrt(2) - 1) ** (1 / (2 * n))
    b, a = butter(n, cutoff / c, fs=rate)
    padlen = 3 * (n + 1)
    best = float("inf")
    for _ in range(2):
        start = time.perf_counter()
        for m in range(marks):
            for axis in range(3):
                x = data[m, axis]
                seen = ~np.isnan(x)
                edges = np.flatnonzero(np.diff(np.concatenate(([False], seen, [False])).astype(np.int8)))
                out = x.copy()
                for s, e in zip(edges[::2], edges[1::2]):
                    if e - s > padlen:
                        out[s:e] = filtfilt(b, a, x[s:e], padtype="odd", padlen=padlen)
        best = min(best, time.perf_counter() - start)
    with open(result_path, "w") as f:
        f.write(f"{best * 1000:.3f}\n")


if __name__ == "__main__":
    main()
