"""The background filter and its smoothings by scipy.ndimage, for the peer tests and the
benchmarks.

Arguments: image.raw W H out.raw kind size step rank [--time]
kind "rank": rank_filter with the sampled footprint (true at (i(step+1), j(step+1)) for
i, j < k) and the given rank; "average": correlate with a ones kernel whose element
(size^2 - 1) // 2 is 0, divided by size^2 - 1 and truncated (rank unused). The whole result
goes to out.raw as little-endian 16-bit codes (float results truncated); with --time the
seconds of the filter alone are printed.
"""
import sys
import time

import numpy
from scipy import ndimage


def footprint(size, step):
    k = (size - 1) // (step + 1) + 1
    f = numpy.zeros((size, size), dtype=bool)
    for i in range(k):
        for j in range(k):
            f[i * (step + 1), j * (step + 1)] = True
    return f


def main(argv):
    W, H = int(argv[2]), int(argv[3])
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(H, W)
    kind, size, step, rank = argv[5], int(argv[6]), int(argv[7]), int(argv[8])
    started = time.perf_counter()
    if kind == "rank":
        out = ndimage.rank_filter(img, rank=rank, footprint=footprint(size, step), mode="nearest")
    else:
        weights = numpy.ones((size, size))
        left_out = (size * size - 1) // 2
        weights[left_out // size, left_out % size] = 0
        mean = ndimage.correlate(img.astype(numpy.float64), weights, mode="nearest") / (size * size - 1)
        out = numpy.trunc(mean).astype("<u2")
    elapsed = time.perf_counter() - started
    out.astype("<u2").tofile(argv[4])
    if "--time" in argv:
        print("%.6f" % elapsed)


if __name__ == "__main__":
    main(sys.argv)
