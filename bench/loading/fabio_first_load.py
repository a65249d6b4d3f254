# Peer side of the first-load benchmark, run in a fresh interpreter each time.
# "write PATH SIDE": fabio writes a SIDE x SIDE 16-bit TIFF of pseudo-random codes.
# "load PATH": imports fabio, reads PATH (a TIFF, or an R-AXIS ".img") once and prints the seconds of the read alone.
import sys
import time

if sys.argv[1] == "write":
    import fabio.tifimage
    import numpy as np

    side = int(sys.argv[3])
    data = np.random.default_rng(7).integers(0, 20000, size=(side, side), dtype=np.uint16)
    fabio.tifimage.TifImage(data=data).write(sys.argv[2])
else:
    import fabio
    import fabio.raxisimage

    start = time.perf_counter()
    if sys.argv[2].endswith(".img"):  # fabio.open does not know the "RAXIS" signature
        data = fabio.raxisimage.RaxisImage().read(sys.argv[2]).data
    else:
        data = fabio.open(sys.argv[2]).data
    seconds = time.perf_counter() - start
    assert data.size > 0
    print(seconds)
