"""The cake of an image with pyFAI's integrate2d, one line per slice of Kestrin's cake.

Arguments: IMAGE W H X0 Y0 Lo pX pY SLICE_DEGREES SLICES
IMAGE is raw little-endian 16-bit (W x H, row 0 first) when it ends in ".raw", else any
file fabio reads. The geometry is Kestrin's flat detector in pyFAI's Fit2D terms (beam at
pixel centre X0 + 0.5, Y0 + 0.5, no tilt). The radial axis is r_mm over 0 to 1600 pixels
in 800 bins of 2 pixels. The cake's slices measure the azimuth from +x towards the rows
below the centre, as pyFAI's chi does with its discontinuity at zero: slice s is the chi bin
from s x SLICE_DEGREES to (s + 1) x SLICE_DEGREES. Each line holds the 800 mean
intensities of one slice, blank-separated.
"""
import sys

import fabio
import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    path = argv[1]
    W, H = int(argv[2]), int(argv[3])
    X0, Y0, Lo, pX, pY = map(float, argv[4:9])
    width, slices = float(argv[9]), int(argv[10])
    if path.endswith(".raw"):
        img = numpy.fromfile(path, dtype="<u2").reshape(H, W)
    else:
        img = fabio.open(path).data
    img = img.astype(numpy.float64)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=img.shape)
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, pixelX=pX * 1000, pixelY=pY * 1000)
    ai.setChiDiscAtZero()
    res = ai.integrate2d(img, 800, slices, unit="r_mm", radial_range=(0, 1600 * pX),
                         azimuth_range=(0, slices * width), correctSolidAngle=False,
                         polarization_factor=None, method="full")
    rows = numpy.asarray(res.intensity)
    for row in rows:
        print(" ".join("%.4f" % v for v in row))


if __name__ == "__main__":
    main(sys.argv)
