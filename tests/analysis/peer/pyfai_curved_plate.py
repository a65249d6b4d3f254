"""The curved imaging plate as pyFAI's cylindrical detector: writes pyFAI's 2theta of every
pixel and prints the fitted ring positions of its 2theta integration.

Arguments: image.raw tth_out.raw W H X0 Y0 Lo pX pY begin step N ring1 [ring2 ...]
The cylinder of radius Lo round the sample (Aarhus detector, pixel2 along the arc) with the
sample-to-plate distance Lo and the beam at pixel centre (X0, Y0): poni1 at the beam row,
rot1 turning the beam onto column X0. tth_out receives float64 degrees, row after row. The
profile is 10 times the mean intensity per bin (no cos^3: the curved plate has none) on bin
centres begin + i step; each ring position is the Gaussian through the largest bin near the
ring and its two neighbours.
"""
import sys

import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Aarhus
from ring_fit import print_ring_positions


def main(argv):
    image, tth_out = argv[1], argv[2]
    W, H = int(argv[3]), int(argv[4])
    X0, Y0, Lo, pX, pY, begin, step = map(float, argv[5:12])
    N = int(argv[12])
    rings = [float(a) for a in argv[13:]]
    img = numpy.fromfile(image, dtype="<u2").reshape(H, W).astype(numpy.float64)
    det = Aarhus(pixel1=pY * 1e-3, pixel2=pX * 1e-3, radius=Lo * 1e-3)
    det.shape = (H, W)
    det.max_shape = (H, W)
    ai = AzimuthalIntegrator(dist=Lo * 1e-3, poni1=(Y0 + 0.5) * pY * 1e-3, poni2=0,
                             rot1=-(X0 + 0.5) * pX / Lo, detector=det)
    numpy.degrees(ai.twoThetaArray()).astype("<f8").tofile(tth_out)
    res = ai.integrate1d(img, N, unit="2th_deg", radial_range=(begin - step / 2, begin + (N - 0.5) * step),
                         correctSolidAngle=False, polarization_factor=None, method="full")
    tth = numpy.asarray(res.radial)
    prof = 10 * numpy.asarray(res.intensity)
    print_ring_positions(tth, prof, rings, begin, step)


if __name__ == "__main__":
    main(sys.argv)
