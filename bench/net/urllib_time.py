# Times Python's urllib reading a URL into memory: prints the median seconds over N reads.
# Usage: urllib_time.py URL N [CA_FILE]
import ssl
import statistics
import sys
import time
import urllib.request

url, count = sys.argv[1], int(sys.argv[2])
context = ssl.create_default_context(cafile=sys.argv[3]) if len(sys.argv) > 3 else None
times = []
for _ in range(count):
    start = time.perf_counter()
    with urllib.request.urlopen(url, context=context) as response:
        data = response.read()
    times.append(time.perf_counter() - start)
    del data
print(statistics.median(times))
