"""Describes a picture for the window tests, read with PIL: its size, its number of distinct
colours, for each colour asked (RRGGBB hex) whether some pixel has it, and the colour of
each pixel asked (x,y).

Arguments: PICTURE [RRGGBB | x,y ...]
Output: "W H COLOURS" then one line per argument: "RRGGBB 0|1" or "x,y RRGGBB".
"""
import sys

from PIL import Image


def main(argv):
    img = Image.open(argv[1]).convert("RGB")
    colours = set(img.getdata())
    print("%d %d %d" % (img.width, img.height, len(colours)))
    for arg in argv[2:]:
        if "," in arg:
            x, y = (int(v) for v in arg.split(","))
            print("%s %02X%02X%02X" % ((arg,) + img.getpixel((x, y))))
        else:
            rgb = tuple(int(arg[i:i + 2], 16) for i in (0, 2, 4))
            print("%s %d" % (arg, 1 if rgb in colours else 0))


if __name__ == "__main__":
    main(sys.argv)
