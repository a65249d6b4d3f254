"""Times Python's ctypes calling libc's strlen: N calls with argtypes and restype set, and
the same loop without the call. Prints two lines: the median seconds of the calls and of
the empty loop over `repeats` runs.
Usage: ctypes_strlen.py N REPEATS
"""
import ctypes
import statistics
import sys
import time


def main(count, repeats):
    libc = ctypes.CDLL("libc.so.6")
    strlen = libc.strlen
    strlen.argtypes = [ctypes.c_char_p]
    strlen.restype = ctypes.c_size_t
    text = b"kestrin"

    def calls():
        start = time.perf_counter()
        for _ in range(count):
            strlen(text)
        return time.perf_counter() - start

    def empty():
        start = time.perf_counter()
        for _ in range(count):
            pass
        return time.perf_counter() - start

    print(statistics.median(calls() for _ in range(repeats)))
    print(statistics.median(empty() for _ in range(repeats)))


if __name__ == "__main__":
    main(int(sys.argv[1]), int(sys.argv[2]))
