# Times Python's ftplib fetching a file with retrbinary into a local file: prints the median
# seconds over N fetches. Usage: ftplib_time.py PORT NAME OUT N passive|active
import ftplib
import statistics
import sys
import time

port, name, out, count, mode = int(sys.argv[1]), sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
times = []
for _ in range(count):
    ftp = ftplib.FTP()
    ftp.connect('127.0.0.1', port, timeout=60)
    ftp.login('test', 'secret')
    ftp.set_pasv(mode == 'passive')
    start = time.perf_counter()
    with open(out, 'wb') as f:
        ftp.retrbinary('RETR ' + name, f.write, blocksize=65536)
    times.append(time.perf_counter() - start)
    ftp.quit()
print(statistics.median(times))
