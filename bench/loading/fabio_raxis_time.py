# Times fabio reading an R-AXIS file: prints the median seconds of one read over N reads.
import statistics
import sys
import time

import fabio.raxisimage

path, count = sys.argv[1], int(sys.argv[2])
fabio.raxisimage.RaxisImage().read(path)  # warm the file cache and the imports
times = []
for _ in range(count):
    start = time.perf_counter()
    fabio.raxisimage.RaxisImage().read(path)
    times.append(time.perf_counter() - start)
print(statistics.median(times))
