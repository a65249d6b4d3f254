"""The background filter and its smoothings by scipy.ndimage, for the peer tests and the
benchmarks.

Arguments: image.raw W H [--time] job [job ...], each job "kind:size:step:rank:out.raw".
kind "rank": rank_filter with the sampled footprint (true at (i(step+1), j(step+1)) for
i, j < k) and the given rank; "average": correlate with a ones kernel whose element
(size^2 - 1) // 2 is 0, divided by size^2 - 1 and truncated (rank unused). Each whole result
goes to its out.raw as little-endian 16-bit codes; with --time the seconds of each filter
alone are printed, one line per job.
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


def run(img, kind, size, step, rank):
    if kind == "rank":
        return ndimage.rank_filter(img, rank=rank, footprint=footprint(size, step), mode="nearest")
    weights = numpy.ones((size, size))
    left_out = (size * size - 1) // 2
    weights[left_out // size, left_out % size] = 0
    mean = ndimage.correlate(img.astype(numpy.float64), weights, mode="nearest") / (size * size - 1)
    return numpy.trunc(mean)


def main(argv):
    W, H = int(argv[2]), int(argv[3])
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(H, W)
    timed = "--time" in argv
    for job in (a for a in argv[4:] if a != "--time"):
        kind, size, step, rank, out = job.split(":", 4)
        started = time.perf_counter()
        result = run(img, kind, int(size), int(step), int(rank))
        elapsed = time.perf_counter() - started
        result.astype("<u2").tofile(out)
        if timed:
            print("%.6f" % elapsed)


if __name__ == "__main__":
    main(sys.argv)
