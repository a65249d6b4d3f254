"""Integrates a raw 16-bit image with pyFAI and prints fitted ring positions.

Arguments: image.raw W H X0 Y0 Lo pX pY Phi Beta begin step N ring1 [ring2 ...]
The geometry maps Kestrin's flat-detector model onto pyFAI's Fit2D parameters; the
integration puts the bin centres on begin + i * step, and the profile is scaled like
Kestrin's (10 I / cos^3 of the bin angle). Each ring position is the Gaussian (log
parabola) through the largest bin near the ring and its two neighbours.
"""
import sys

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector
from ring_fit import print_ring_positions


def main(argv):
    path = argv[1]
    W, H = int(argv[2]), int(argv[3])
    X0, Y0, Lo, pX, pY, Phi, Beta, begin, step = map(float, argv[4:13])
    N = int(argv[13])
    rings = [float(a) for a in argv[14:]]
    img = numpy.fromfile(path, dtype="<u2").reshape(H, W).astype(numpy.float64)
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
    res = ai.integrate1d(img, N, unit="2th_deg",
                         radial_range=(begin - step / 2, begin + (N - 0.5) * step),
                         correctSolidAngle=False, polarization_factor=None, method="full")
    tth = numpy.asarray(res.radial)
    prof = 10 * numpy.asarray(res.intensity) / numpy.cos(numpy.radians(tth)) ** 3
    print_ring_positions(tth, prof, rings, begin, step)


if __name__ == "__main__":
    main(sys.argv)
