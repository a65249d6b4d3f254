"""Fits one peak with scipy, the peer of Kestrin's two fitting engines.

Argument: a job file written by the tests: "kind n ma", the start parameters, then n lines
"x y". Kinds: lm_gauss, lm_lorentz (least squares, scipy.optimize.least_squares with
method="lm"), poisson_gauss, poisson_lorentz (maximum Poisson likelihood: minimize of
sum(f - y ln f), Nelder-Mead then BFGS). Prints the fitted parameters on one line; the
Poisson kinds add a second line with sqrt(diag(Fisher^-1)), Fisher = sum g g^T / f.
The tests ask for tight tolerances (precise=True); the benchmark times scipy's defaults.

Profiles (a3 the half width at half maximum, a4 base, a5 base slope when present):
Gaussian a1 2^(-u^2), Lorentzian a1 / (1 + u^2), u = (x - a2) / a3.
"""
import sys

import numpy
from scipy.optimize import least_squares, minimize


def read_jobs(path):
    """Every job of the file, one after the other: (kind, start, x, y)."""
    jobs = []
    with open(path) as f:
        for header in iter(f.readline, ""):
            kind, n, ma = header.split()
            start = numpy.array([float(v) for v in f.readline().split()])
            rows = numpy.array([[float(v) for v in f.readline().split()] for _ in range(int(n))])
            assert len(start) == int(ma)
            jobs.append((kind, start, rows[:, 0], rows[:, 1]))
    return jobs


def profile(lorentzian, a, x):
    """Values and the derivatives (one row per parameter)."""
    u = (x - a[1]) / a[2]
    g = numpy.zeros((len(a), len(x)))
    if lorentzian:
        d = 1.0 + u * u
        f = a[0] / d
        g[0] = 1.0 / d
        g[1] = 2.0 * a[0] * u / (a[2] * d * d)
    else:
        e = numpy.exp2(-u * u)
        f = a[0] * e
        g[0] = e
        g[1] = 2.0 * numpy.log(2.0) * a[0] * u * e / a[2]
    g[2] = u * g[1]
    if len(a) > 3:
        f = f + a[3]
        g[3] = 1.0
    if len(a) > 4:
        f = f + a[4] * x
        g[4] = x
    return f, g


def least_squares_fit(lorentzian, start, x, y, precise=True):
    def residual(a):
        return profile(lorentzian, a, x)[0] - y

    def jacobian(a):
        return profile(lorentzian, a, x)[1].T

    tight = {"xtol": 1e-15, "ftol": 1e-15, "gtol": 1e-15, "max_nfev": 10000} if precise else {}
    return least_squares(residual, start, jac=jacobian, method="lm", **tight).x


def fisher(lorentzian, a, x):
    f, g = profile(lorentzian, a, x)
    return (g / f) @ g.T


def poisson_fit(lorentzian, start, x, y, precise=True):
    # Work in units of the start's deviations, so every coordinate has the same scale.
    scale = 1.0 / numpy.sqrt(numpy.diag(fisher(lorentzian, start, x)))

    def params(z):
        return start + z * scale

    # sum(f - y ln f) less its value for f = y, so that the sum stays small and the line
    # searches resolve tiny steps; the minimum is the same.
    ylny = numpy.where(y > 0, y * numpy.log(numpy.where(y > 0, y, 1.0)), 0.0)

    def objective(z):
        f = profile(lorentzian, params(z), x)[0]
        if numpy.any(f <= 0):
            return numpy.inf
        return numpy.sum((f - y * numpy.log(f)) - (y - ylny))

    def gradient(z):
        f, g = profile(lorentzian, params(z), x)
        return (g @ (1.0 - y / f)) * scale

    simplex = {"xatol": 1e-6, "fatol": 1e-10, "maxiter": 20000} if precise else {}
    quasi_newton = {"gtol": 1e-10, "maxiter": 10000} if precise else {}
    z = numpy.zeros(len(start))
    z = minimize(objective, z, method="Nelder-Mead", options=simplex).x
    z = minimize(objective, z, jac=gradient, method="BFGS", options=quasi_newton).x
    a = params(z)
    return a, numpy.sqrt(numpy.diag(numpy.linalg.inv(fisher(lorentzian, a, x))))


def main(path):
    kind, start, x, y = read_jobs(path)[0]
    lorentzian = kind.endswith("lorentz")
    if kind.startswith("lm_"):
        print(" ".join(repr(float(v)) for v in least_squares_fit(lorentzian, start, x, y)))
    else:
        a, sd = poisson_fit(lorentzian, start, x, y)
        print(" ".join(repr(float(v)) for v in a))
        print(" ".join(repr(float(v)) for v in sd))


if __name__ == "__main__":
    main(sys.argv[1])
