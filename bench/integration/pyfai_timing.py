"""Times pyFAI's integrate1d with the "csr" method on a raw 16-bit image: the first call
(which builds the sparse matrix) and the best of three repeated calls, with pyFAI's default
pixel splitting; then the best of three repeated calls without pixel splitting (each pixel
in one bin, the work Kestrin's box integration does).

Arguments: image.raw SIDE X0 Y0 Lo pX pY Phi Beta step. Prints "first SECONDS",
"repeated SECONDS" and "nosplit SECONDS".
"""
import sys
import time

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    side = int(argv[2])
    X0, Y0, Lo, pX, pY, Phi, Beta, step = map(float, argv[3:11])
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(side, side)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(side, side))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
    top = float(numpy.degrees(ai.twoThetaArray().max()))
    n = int(top / step) + 2
    kw = dict(unit="2th_deg", radial_range=(-step / 2, (n - 0.5) * step),
              correctSolidAngle=False, polarization_factor=None, method="csr")
    t0 = time.perf_counter()
    ai.integrate1d(img, n, **kw)
    first = time.perf_counter() - t0

    def best_of_three(**args):
        times = []
        for _ in range(3):
            t0 = time.perf_counter()
            ai.integrate1d(img, n, **args)
            times.append(time.perf_counter() - t0)
        return min(times)

    repeated = best_of_three(**kw)
    no_split = dict(kw, method=("no", "csr", "cython"))
    ai.integrate1d(img, n, **no_split)  # builds its own sparse matrix
    print("bins %d" % n)
    print("first %.4f" % first)
    print("repeated %.4f" % repeated)
    print("nosplit %.4f" % best_of_three(**no_split))


if __name__ == "__main__":
    main(sys.argv)
