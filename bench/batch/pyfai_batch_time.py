"""Times the peer's batch: each TIFF opened with fabio, integrated with pyFAI's integrate1d
("csr", one integrator made before the first file, so the first call builds its matrix) and
its pattern written with numpy.savetxt beside it.

Arguments: X0 Y0 Lo pX pY begin end step FILE... Prints the seconds of the whole batch.
"""
import sys
import time

import fabio
import numpy
from pyFAI.azimuthalIntegrator import AzimuthalIntegrator
from pyFAI.detectors import Detector


def main(argv):
    X0, Y0, Lo, pX, pY, begin, end, step = map(float, argv[1:9])
    files = argv[9:]
    n = int(round((end - begin) / step))
    start = time.perf_counter()
    ai = None
    for path in files:
        data = fabio.open(path).data
        if ai is None:
            det = Detector(pixel1=pY * 1e-3, pixel2=pX * 1e-3, max_shape=data.shape)
            ai = AzimuthalIntegrator(detector=det)
            ai.setFit2D(directDist=Lo, centerX=X0 + 0.5, centerY=Y0 + 0.5, pixelX=pX * 1000, pixelY=pY * 1000)
        res = ai.integrate1d(data, n, unit="2th_deg", radial_range=(begin - step / 2, begin + (n - 0.5) * step),
                             correctSolidAngle=False, polarization_factor=None, method="csr")
        numpy.savetxt(path[:-4] + "_peer.xy", numpy.column_stack((res.radial, res.intensity)))
    print("%.4f" % (time.perf_counter() - start))


if __name__ == "__main__":
    main(sys.argv)
