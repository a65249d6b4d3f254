"""pyFAI's 2theta of every pixel, and its integration of an image, through the mapping of
Kestrin's flat-detector geometry onto pyFAI's Fit2D parameters.

Arguments: angles G [G ...]
           profile G image.raw begin step N
with each geometry G the nine numbers W H X0 Y0 Lo pX pY Phi Beta. "angles" prints 2theta in
degrees for every pixel of each geometry, row-major, one geometry after the other;
"profile" integrates the little-endian 16-bit image into N bins centred on begin + i * step
and prints the 2theta and the mean intensity of each bin ("nan" for an empty one).
"""
import sys

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def integrator(W, H, X0, Y0, Lo, pX, pY, Phi, Beta):
    det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=(H, W))
    ai = AzimuthalIntegrator(detector=det)
    ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, tilt=Phi,
                tiltPlanRotation=-Beta, pixelX=pX * 1000, pixelY=pY * 1000)
    return ai


def geometry(args):
    W, H = int(args[0]), int(args[1])
    return W, H, integrator(W, H, *map(float, args[2:9]))


def main(argv):
    if argv[1] == "angles":
        for at in range(2, len(argv), 9):
            W, H, ai = geometry(argv[at:at + 9])
            tth = numpy.degrees(ai.twoThetaArray((H, W)))
            print("\n".join(repr(float(v)) for v in tth.ravel()))
        return
    W, H, ai = geometry(argv[2:11])
    img = numpy.fromfile(argv[11], dtype="<u2").reshape(H, W).astype(numpy.float64)
    begin, step, N = float(argv[12]), float(argv[13]), int(argv[14])
    res = ai.integrate1d(img, N, unit="2th_deg", radial_range=(begin - step / 2, begin + (N - 0.5) * step),
                         correctSolidAngle=False, polarization_factor=None, method="full")
    for t, v in zip(res.radial, res.intensity):
        print(repr(float(t)), repr(float(v)))


if __name__ == "__main__":
    main(sys.argv)
