# Times reading a text file's lines as Kestrin's Strings.loadFromFile does:
# open().read().splitlines(); prints the median seconds over N runs.
import statistics
import sys
import time

path, count = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(count):
    start = time.perf_counter()
    lines = open(path, encoding="latin-1").read().splitlines()
    times.append(time.perf_counter() - start)
    del lines
print(statistics.median(times))
