# Peer side of the bitmap benchmark: "time OPERATION PATH N" prints the median time in
# seconds of N runs of the PIL operation on the BMP at PATH (opened and loaded beforehand,
# except for "open", which times opening and decoding the file itself).
import sys
import time

from PIL import Image

operation, path, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
OPERATIONS = {
    "fastoctree": lambda im: im.quantize(256, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE),
    "mediancut": lambda im: im.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE),
    "web": lambda im: im.convert("P", palette=Image.Palette.WEB, dither=Image.Dither.FLOYDSTEINBERG),
    "bw": lambda im: im.convert("1"),
    "rgb": lambda im: im.convert("RGB"),
}
Image.MAX_IMAGE_PIXELS = None
times = []
for _ in range(runs):
    if operation == "open":
        start = time.perf_counter()
        Image.open(path).load()
    else:
        im = Image.open(path)
        im.load()
        start = time.perf_counter()
        OPERATIONS[operation](im)
    times.append(time.perf_counter() - start)
times.sort()
print(times[len(times) // 2])
