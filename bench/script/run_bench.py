#!/usr/bin/python3
"""Times the common-subset benchmark scripts with kestrin-script, duktape and mujs in one
run and prints each engine's time and Kestrin's ratio to duktape (best of N runs)."""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = ["loop", "while", "string", "property", "call", "fib", "array", "sort", "text"]
# Goal: Kestrin's time at most this multiple of duktape's.
GOALS = {"string": 1.0, "sort": 1.0, "text": 1.0}
DEFAULT_GOAL = 1.5


def best_time(cmd, runs):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        done = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        if done.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(cmd), done.stderr.decode()))
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    if len(sys.argv) < 2:
        print("usage: run_bench.py KESTRIN_SCRIPT [RUNS]")
        return 2
    kestrin = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    peers = [p for p in ("/usr/bin/duk", "/usr/bin/mujs") if os.path.exists(p)]
    if "/usr/bin/duk" not in peers:
        print("duktape (/usr/bin/duk) is missing")
        return 1 if os.environ.get("CI") == "true" else 0
    print("%-9s %9s %9s %9s %8s %6s" % ("script", "kestrin", "duk", "mujs", "k/duk", "goal"))
    failed = False
    for name in SCRIPTS:
        path = os.path.join(HERE, name + ".js")
        k = best_time([kestrin, path], runs)
        d = best_time(["/usr/bin/duk", path], runs)
        m = best_time(["/usr/bin/mujs", path], runs) if "/usr/bin/mujs" in peers else float("nan")
        goal = GOALS.get(name, DEFAULT_GOAL)
        ratio = k / d
        failed = failed or ratio > goal
        print("%-9s %8.3fs %8.3fs %8.3fs %7.2fx %5.1fx%s" % (name, k, d, m, ratio, goal, "" if ratio <= goal else "  over"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
