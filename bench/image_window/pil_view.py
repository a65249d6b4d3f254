# Peer side of the image window benchmark: "VIEW RUNS" prints the median time in seconds of
# PIL rendering an 800 x 800 view of a 10000 x 10000 picture of display levels with its
# mask: nearest-neighbour resize of the levels through the grey palette and of the mask
# through the mask palette, then the exclusive or of the two. VIEW is "whole" (the whole
# picture in the view) or "part" (a 1:1 part from (4000, 4000)).
import sys
import time

import numpy
from PIL import Image

SIDE, VIEW = 10000, 800


def main(argv):
    view, runs = argv[1], int(argv[2])
    Image.MAX_IMAGE_PIXELS = None
    levels = numpy.random.default_rng(1).integers(0, 256, (SIDE, SIDE), dtype=numpy.uint8)
    mask = numpy.zeros(SIDE * SIDE, numpy.uint8)
    mask[::7] = 1
    picture = Image.fromarray(levels, "P")
    picture.putpalette([255 - i for i in range(256) for _ in range(3)])
    masked = Image.fromarray(mask.reshape(SIDE, SIDE), "P")
    masked.putpalette([0, 0, 0, 255, 127, 255] + [0] * (3 * 254))
    box = (0, 0, SIDE, SIDE) if view == "whole" else (4000, 4000, 4000 + VIEW, 4000 + VIEW)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        shown = picture.resize((VIEW, VIEW), Image.NEAREST, box=box).convert("RGB")
        over = masked.resize((VIEW, VIEW), Image.NEAREST, box=box).convert("RGB")
        numpy.bitwise_xor(numpy.asarray(shown), numpy.asarray(over))
        times.append(time.perf_counter() - start)
    times.sort()
    print(times[len(times) // 2])


if __name__ == "__main__":
    main(sys.argv)
