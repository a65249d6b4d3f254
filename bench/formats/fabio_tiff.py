# Peer side of the TIFF load benchmark. "write PATH": fabio writes a 4096 x 4096 16-bit TIFF.
# "time PATH N": prints the median time in seconds of N fabio reads of PATH.
import sys
import time

import fabio
import fabio.tifimage
import numpy as np

if sys.argv[1] == "write":
    rng = np.random.default_rng(7)
    data = rng.integers(0, 65536, size=(4096, 4096), dtype=np.uint16)
    fabio.tifimage.TifImage(data=data).write(sys.argv[2])
else:
    times = []
    for _ in range(int(sys.argv[3])):
        start = time.perf_counter()
        data = fabio.open(sys.argv[2]).data
        assert data.shape == (4096, 4096)
        times.append(time.perf_counter() - start)
    times.sort()
    print(times[len(times) // 2])
