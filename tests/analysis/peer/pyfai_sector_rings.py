"""Ring radii per azimuthal sector with pyFAI, in Kestrin's pixels of distance.

Arguments: image.raw W H X0 Y0 Lo pX pY Phi Beta unit "a1:a2,a1:a2,..." ring1 [ring2 ...]
The geometry is Kestrin's flat detector in pyFAI's Fit2D terms (beam at pixel centre
X0 + 0.5, Y0 + 0.5). A sector [a1, a2) of Kestrin's azimuth (degrees, counter-clockwise with
y up) is pyFAI's chi range (-a2, -a1): brought into (-180, 180], or, for the sector that
straddles 180 degrees, into [0, 360) with the chi discontinuity moved to zero. With unit
"r" the radial axis is r_mm / pX (Kestrin's distance without a tilt); with unit "2th" it is
2theta, turned into the tilt-corrected distance Lo tan(2theta) / pX. Rings are given as
distances in pixels. Prints one line per sector: its ring radii, blank-separated.
"""
import math
import sys

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def chi_range(a1, a2):
    lo, hi = -a2, -a1
    while lo <= -180:
        lo, hi = lo + 360, hi + 360
    while lo > 180:
        lo, hi = lo - 360, hi - 360
    return (lo, hi), hi > 180


def peak(x, y, guess, width):
    near = [i for i in range(len(x)) if abs(x[i] - guess) <= width and 0 < i < len(x) - 1]
    best = max(near, key=lambda i: y[i])
    a, b, c = (math.log(y[best - 1]), math.log(y[best]), math.log(y[best + 1]))
    return x[best] + 0.5 * (a - c) / (a - 2 * b + c) * (x[best + 1] - x[best])


def main(argv):
    path = argv[1]
    W, H = int(argv[2]), int(argv[3])
    X0, Y0, Lo, pX, pY, Phi, Beta = map(float, argv[4:11])
    unit = argv[11]
    sectors = [tuple(map(float, s.split(":"))) for s in argv[12].split(",")]
    rings = [float(a) for a in argv[13:]]
    img = numpy.fromfile(path, dtype="<u2").reshape(H, W).astype(numpy.float64)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    top = max(rings) * 1.3
    for a1, a2 in sectors:
        ai = AzimuthalIntegrator(detector=det)
        ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                    tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
        chi, straddles = chi_range(a1, a2)
        if straddles:
            ai.setChiDiscAtZero()
        kw = dict(azimuth_range=chi, correctSolidAngle=False, polarization_factor=None, method="full")
        if unit == "r":
            n = int(top / 0.1)
            res = ai.integrate1d(img, n, unit="r_mm", radial_range=(0, top * pX), **kw)
            x = numpy.asarray(res.radial) / pX
        else:
            top_tth = math.degrees(math.atan(top * pX / Lo))
            res = ai.integrate1d(img, int(top_tth / 0.002), unit="2th_deg", radial_range=(0, top_tth), **kw)
            x = Lo * numpy.tan(numpy.radians(numpy.asarray(res.radial))) / pX
        y = numpy.asarray(res.intensity)
        print(" ".join("%.6f" % peak(x, y, r, 3.0) for r in rings))


if __name__ == "__main__":
    main(sys.argv)
