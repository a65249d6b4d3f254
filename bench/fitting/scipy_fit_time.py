"""Times scipy on the benchmark's peak windows: least_squares(method="lm") on the lm_ jobs
and the Poisson maximum-likelihood fit (Nelder-Mead, then BFGS) on the poisson_ jobs, with
the same code as the peer tests at scipy's default tolerances. Prints two lines: the median seconds of all least-squares
fits over `repeats` runs, then the seconds of all Poisson fits (one run).
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "analysis", "peer"))
from scipy_fit import least_squares_fit, poisson_fit, read_jobs  # noqa: E402


def run_all(jobs, fit):
    start = time.perf_counter()
    for kind, a, x, y in jobs:
        fit(kind.endswith("lorentz"), a, x, y, precise=False)
    return time.perf_counter() - start


def main(path, repeats):
    jobs = read_jobs(path)
    lm = [j for j in jobs if j[0].startswith("lm_")]
    poisson = [j for j in jobs if j[0].startswith("poisson_")]
    run_all(lm[:20], least_squares_fit)  # warm the imports
    print(statistics.median(run_all(lm, least_squares_fit) for _ in range(repeats)))
    print(run_all(poisson, poisson_fit))


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
