"""Times matplotlib's Agg backend on the graph benchmark's scene: a 1000 x 700 pixel figure
with the pattern as one curve (or the 16 sector curves), the 500 peak marks as one line
collection and the 50 fitted peaks, axes with ticks and labels. Reads the scene the benchmark
wrote; prints the median seconds of one full draw for the single pattern, then for the sectors.
"""
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from matplotlib.collections import LineCollection  # noqa: E402


def read_scene(path):
    with open(path) as f:
        begin, step, n, sectors, offset = (float(v) for v in f.readline().split())
        values = np.array([float(v) for v in f.readline().split()])
        marks = [tuple(float(v) for v in f.readline().split()) for _ in range(500)]
        fits = [tuple(float(v) for v in f.readline().split()) for _ in range(50)]
    return begin, step, int(n), int(sectors), offset, values, marks, fits


def lorentz(x, a, pos, hw, base):
    u = (x - pos) / hw
    return a / (1 + u * u) + base


def figure(x, curves, marks, fits):
    fig = plt.figure(figsize=(10, 7), dpi=100)
    ax = fig.add_axes([0.1, 0.1, 0.85, 0.85], facecolor=(1, 1, 220 / 255))
    for y in curves:
        ax.plot(x, y, color="black", linewidth=1)
    ax.add_collection(LineCollection([((p, v + 2), (p, v + 12)) for p, v in marks], colors="blue", linewidths=1))
    for a, pos, hw, base, start, end in fits:
        fx = np.arange(start, end, (x[1] - x[0]) / 50)
        ax.plot(fx, lorentz(fx, a, pos, hw, base), color="red", linewidth=1)
    ax.set_xlim(x[0], x[-1])
    ax.set_xlabel("2theta (degrees)")
    return fig


def median_draw(fig, repeats):
    fig.canvas.draw()  # warm up
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        fig.canvas.draw()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def main(path, repeats):
    begin, step, n, sectors, offset, values, marks, fits = read_scene(path)
    x = begin + step * np.arange(n)
    print(median_draw(figure(x, [values], marks, fits), repeats))
    stacked = [values + k * offset for k in range(sectors)]
    print(median_draw(figure(x, stacked, [], []), repeats))


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
