"""The spot search transcribed to numpy, vectorised where it can be: box sums from
cumulative sums, the contrast test on whole arrays, then the duplicate passes and the
refinement pixel by pixel in the same order as written.

Arguments: image.raw W H s b ratio tolerance d x0 y0 x1 y1 [--time]
The image holds little-endian 16-bit codes whose intensity is the code. Prints "C x y" per
candidate in scan order and "S x y intensity" per spot (reals as repr); with --time it
prints only the seconds the whole search took.
"""
import bisect
import sys
import time

import numpy


def candidates(img, s, b, ratio, tol, x0, y0, x1, y1):
    H, W = img.shape
    I = img.astype(numpy.int64)
    rows = numpy.zeros((H, W + 1), numpy.int64)
    rows[:, 1:] = numpy.cumsum(I, axis=1)
    cols = numpy.zeros((H + 1, W), numpy.int64)
    cols[1:, :] = numpy.cumsum(I, axis=0)
    area = numpy.zeros((H + 1, W + 1), numpy.int64)
    area[1:, 1:] = numpy.cumsum(cols[1:, :], axis=1)
    ys = numpy.arange(max(y0 + b, b), min(y1 - 1 - b, H - 1 - b) + 1)
    xs = numpy.arange(max(x0 + b, b), min(x1 - 1 - b, W - 1 - b) + 1)
    if len(ys) == 0 or len(xs) == 0:
        return [], []
    Y, X = ys[:, None], xs[None, :]
    top = rows[Y - b, X + b + 1] - rows[Y - b, X - b]
    bottom = rows[Y + b, X + b + 1] - rows[Y + b, X - b]
    left = cols[Y + b, X - b] - cols[Y - b + 1, X - b]
    right = cols[Y + b, X + b] - cols[Y - b + 1, X + b]
    box = area[Y + s + 1, X + s + 1] - area[Y - s, X + s + 1] - area[Y + s + 1, X - s] + area[Y - s, X - s]
    t, bo, le, ri = (a.astype(numpy.float64) for a in (top, bottom, left, right))
    bg = (t + bo + le + ri) / (8.0 * b)
    peak = box.astype(numpy.float64) / float((2 * s + 1) ** 2)
    usable = (bg != 0) & (t != 0) & (bo != 0) & (le != 0) & (ri != 0)
    with numpy.errstate(divide="ignore", invalid="ignore"):
        ok = usable & (peak / bg > ratio) & (peak - bg > 15.0)
        ok &= numpy.abs(1.0 - t / bo) < tol
        ok &= numpy.abs(1.0 - bo / le) < tol
        ok &= numpy.abs(1.0 - le / ri) < tol
        ok &= numpy.abs(1.0 - ri / t) < tol
    iy, ix = numpy.nonzero(ok)
    return [int(v) for v in xs[ix]], [int(v) for v in ys[iy]]


def duplicates(x, y, d):
    """Each point not deleted deletes every later point within d on both axes."""
    order = sorted(range(len(y)), key=lambda i: y[i])
    ys = [y[i] for i in order]
    gone = [False] * len(x)
    for i in range(len(x)):
        if gone[i]:
            continue
        lo = bisect.bisect_left(ys, y[i] - d)
        hi = bisect.bisect_right(ys, y[i] + d)
        for k in range(lo, hi):
            j = order[k]
            if j > i and abs(x[i] - x[j]) <= d and abs(y[i] - y[j]) <= d:
                gone[j] = True
    return gone


def refine(img, x, y):
    H, W = img.shape
    best, mx, my = 0.0, None, None
    for j in range(-6, 7):
        for i in range(-6, 7):
            px, py = int(x + i), int(y + j)
            if 0 <= px < W and 0 <= py < H and float(img[py, px]) > best:
                best, mx, my = float(img[py, px]), px, py
    if mx is None:
        return x, y, 0.0
    sx = sy = sw = 0.0
    for j in range(-9, 10):
        for i in range(-9, 10):
            px, py = mx + i, my + j
            if 0 <= px < W and 0 <= py < H:
                v = float(img[py, px])
                if v >= 0.1 * best:
                    sx += i * v
                    sy += j * v
                    sw += v
    if sw != 0:
        x, y = sx / sw + mx, sy / sw + my
    return x, y, best


def search(img, s, b, ratio, tol, d, x0, y0, x1, y1):
    cx, cy = candidates(img, s, b, ratio, tol, x0, y0, x1, y1)
    first = duplicates(cx, cy, d)
    refined = [refine(img, float(cx[i]), float(cy[i])) for i in range(len(cx)) if not first[i]]
    second = duplicates([r[0] for r in refined], [r[1] for r in refined], 2.0)
    return cx, cy, [r for r, g in zip(refined, second) if not g]


def main(argv):
    W, H = int(argv[2]), int(argv[3])
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(H, W)
    s, b = int(argv[4]), int(argv[5])
    ratio, tol = float(argv[6]), float(argv[7])
    d, x0, y0, x1, y1 = (int(a) for a in argv[8:13])
    started = time.perf_counter()
    cx, cy, spots = search(img, s, b, ratio, tol, d, x0, y0, x1, y1)
    if "--time" in argv:
        print("%.6f %d" % (time.perf_counter() - started, len(spots)))
        return
    for x, y in zip(cx, cy):
        print("C %d %d" % (x, y))
    for x, y, v in spots:
        print("S %r %r %r" % (x, y, v))


if __name__ == "__main__":
    main(sys.argv)
