"""Writes 16-bit TIFF ring images with fabio, the rings laid on pyFAI's own 2theta map.

Arguments: W H X0 Y0 Lo pX pY PATH=R1,R2,... [PATH=R1,R2,... ...]
The geometry is Kestrin's flat detector in pyFAI's Fit2D terms (beam at pixel centre
X0 + 0.5, Y0 + 0.5, no tilt). Each file holds Gaussian rings (sigma 0.05 degree, top 5000
counts over a background of 50) at its own 2theta values, in degrees.
"""
import sys

import fabio.tifimage
import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    W, H = int(argv[1]), int(argv[2])
    X0, Y0, Lo, pX, pY = map(float, argv[3:8])
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, pixelX=pX * 1000, pixelY=pY * 1000)
    tth = numpy.degrees(ai.twoThetaArray((H, W)))
    for spec in argv[8:]:
        path, rings = spec.split("=")
        img = numpy.full((H, W), 50.0)
        for r in map(float, rings.split(",")):
            img += 5000.0 * numpy.exp(-0.5 * ((tth - r) / 0.05) ** 2)
        fabio.tifimage.tifimage(data=numpy.rint(img).astype(numpy.uint16)).write(path)


if __name__ == "__main__":
    main(sys.argv)
