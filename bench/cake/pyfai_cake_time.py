"""Times pyFAI's cake of a raw 16-bit image: integrate2d with 800 radial bins of r_mm over
0 to 1600 pixels and 32 azimuth bins, "csr", the integrator made once.

Arguments: IMAGE.raw W H X0 Y0 Lo pX pY
Prints the seconds of the repeated call on the first line and those of the first call
(which builds the sparse matrix) on the second.
"""
import sys
import time

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    W, H = int(argv[2]), int(argv[3])
    X0, Y0, Lo, pX, pY = map(float, argv[4:9])
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(H, W)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, pixelX=pX * 1000, pixelY=pY * 1000)
    times = []
    for _ in range(3):
        start = time.perf_counter()
        ai.integrate2d(img, 800, 32, unit="r_mm", radial_range=(0, 1600 * pX), correctSolidAngle=False,
                       polarization_factor=None, method="csr")
        times.append(time.perf_counter() - start)
    print("%.4f" % min(times[1:]))
    print("%.4f" % times[0])


if __name__ == "__main__":
    main(sys.argv)
