"""Prints pyFAI's 2theta (degrees) of single pixels, the peer of the image window's pixel
information.

Arguments: W H X0 Y0 Lo pX pY Phi Beta x,y [x,y ...]
The geometry maps Kestrin's flat-detector model onto pyFAI's Fit2D parameters as the
integration peer does; pixel (x, y) is the centre of column x and row y (pyFAI's tth takes
pixel indices and adds the half pixel itself).
"""
import sys

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    W, H = int(argv[1]), int(argv[2])
    X0, Y0, Lo, pX, pY, Phi, Beta = map(float, argv[3:10])
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
    for pair in argv[10:]:
        x, y = (int(v) for v in pair.split(","))
        # Positions in double precision (twoThetaArray works in single precision).
        tth = ai.tth(numpy.array([y], dtype=numpy.float64), numpy.array([x], dtype=numpy.float64))
        print("%.10f" % numpy.degrees(tth[0]))


if __name__ == "__main__":
    main(sys.argv)
