"""Times pyFAI on the integrations that Kestrin's histogram benchmarks run, on a raw 16-bit
image: the first call (which builds pyFAI's sparse matrix where it uses one) and the best of
three repeated calls.

Arguments: image.raw SIDE X0 Y0 Lo pX pY Phi Beta step KIND [KIND ...]
KIND is one of pixel (integrate1d in r_mm, csr, one bin per pixel of distance), fine and
finefull (integrate1d in 2theta with full pixel splitting, on a table and without), sixteen and
cake (integrate2d in r_mm, csr, 16 and 33 azimuthal bins), free3600 and free3600nosplit
(integrate2d in 2theta, csr, 3600 azimuthal bins, with pixel splitting by bounding box and
without: each pixel wholly into one bin). Prints "NAME SECONDS" lines.
"""
import math
import sys
import time

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def timed(call):
    t0 = time.perf_counter()
    call()
    return time.perf_counter() - t0


def first_and_repeated(name, call):
    print("%s_first %.4f" % (name, timed(call)))
    print("%s_repeated %.4f" % (name, min(timed(call) for _ in range(3))))
    sys.stdout.flush()


def main(argv):
    side = int(argv[2])
    X0, Y0, Lo, pX, pY, Phi, Beta, step = map(float, argv[3:11])
    kinds = argv[11:]
    img = numpy.fromfile(argv[1], dtype="<u2").reshape(side, side)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(side, side))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
    plain = dict(correctSolidAngle=False, polarization_factor=None)
    r_px = int(math.ceil(float(ai.rArray().max()) * 1000 / pX)) + 1
    top = float(numpy.degrees(ai.twoThetaArray().max()))
    n_tth = int(top / step) + 2
    tth_range = (-step / 2, (n_tth - 0.5) * step)
    r_kw = dict(unit="r_mm", radial_range=(0, r_px * pX), method="csr", **plain)
    if "pixel" in kinds:
        first_and_repeated("pixel", lambda: ai.integrate1d(img, r_px, **r_kw))
    fine_kw = dict(unit="2th_deg", radial_range=tth_range, **plain)
    if "fine" in kinds:
        first_and_repeated("fine_table", lambda: ai.integrate1d(img, n_tth, method=("full", "csr", "cython"), **fine_kw))
    if "finefull" in kinds:
        print("fine_full %.4f" % timed(lambda: ai.integrate1d(img, n_tth, method="full", **fine_kw)))
    if "sixteen" in kinds:
        first_and_repeated("sixteen", lambda: ai.integrate2d(img, r_px, 16, **r_kw))
    if "cake" in kinds:
        first_and_repeated("cake", lambda: ai.integrate2d(img, r_px, 33, **r_kw))
    if "free3600" in kinds:
        first_and_repeated("free3600", lambda: ai.integrate2d(img, n_tth, 3600, unit="2th_deg", radial_range=tth_range,
                                                              method="csr", **plain))
    if "free3600nosplit" in kinds:
        first_and_repeated("free3600_nosplit", lambda: ai.integrate2d(img, n_tth, 3600, unit="2th_deg",
                                                                      radial_range=tth_range,
                                                                      method=("no", "csr", "cython"), **plain))


if __name__ == "__main__":
    main(sys.argv)
