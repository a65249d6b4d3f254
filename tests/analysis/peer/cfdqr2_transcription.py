"""An independent numpy transcription of Kestrin's Poisson-likelihood peak fit (CFDQR2).

It follows the documented algorithm step by step, with its constants, and serves the tests
as a peer: the same start gives the same status and, when it converged, the same maximum.
It is written from the description only, without Kestrin's code.

Argument: a job file as scipy_fit.py reads it ("kind n ma", the start parameters, then n
lines "x y"); kinds poisson_gauss and poisson_lorentz. Optional second argument "scaled":
the counts (and the start's amplitude and base) are divided by their largest value before
the fit and the result multiplied back, the remedy the tests compare with.
Prints one line per job: the status, then the parameters where the fit stopped.

Profiles (a3 the half width at half maximum, a4 base, a5 base slope when present):
Gaussian a1 exp(-ln 2 u^2), Lorentzian a1 / (1 + u^2), u = (x - a2) / a3.
"""
import math
import sys

import numpy

from scipy_fit import read_jobs

GAUSS_LIMIT = 600.0


def model(lorentzian, a, x):
    """Values and derivatives (one column per parameter); None on a Gaussian overflow."""
    u = (x - a[1]) / a[2]
    g = numpy.zeros((len(x), len(a)))
    if lorentzian:
        d = 1.0 + u * u
        f = a[0] / d
        g[:, 0] = 1.0 / d
        g[:, 1] = 2.0 * a[0] * u / (a[2] * d * d)
    else:
        e = -math.log(2.0) * u * u
        if numpy.any(numpy.abs(e) >= GAUSS_LIMIT):
            return None
        f = a[0] * numpy.exp(e)
        g[:, 0] = numpy.exp(e)
        g[:, 1] = 2.0 * a[0] * math.log(2.0) * (x - a[1]) * numpy.exp(e) / a[2] ** 2
    g[:, 2] = u * g[:, 1]
    if len(a) >= 4:
        f = f + a[3]
        g[:, 3] = 1.0
    if len(a) >= 5:
        f = f + a[4] * x
        g[:, 4] = x
    return f, g


def likelihood(y, f):
    if numpy.any(f <= 0):
        return None
    value = float(numpy.sum(y * numpy.log(f) - f))
    return value if math.isfinite(value) else None


def log_factorial(y):
    if y <= 1:
        return 0.0
    if y > 50:
        return (y + 0.5) * math.log(y) - y + 0.5 * math.log(2 * math.pi) + 1 / (12 * y)
    return sum(math.log(k) for k in range(2, int(y) + 1))


def pivoted_qr_solve(A, b, tol=1e-10):
    """Least squares by Householder reflections, pivoting on the largest remaining column
    norm relative to its initial norm; returns the solution and the explained sum of squares."""
    A = A.copy()
    b = b.copy()
    m, n = A.shape
    initial = numpy.linalg.norm(A, axis=0)
    perm = list(range(n))
    rank = 0
    for k in range(n):
        remaining = numpy.linalg.norm(A[k:, k:], axis=0)
        ratio = numpy.where(initial[perm[k:]] > 0, remaining / numpy.where(initial[perm[k:]] > 0, initial[perm[k:]], 1), 0)
        p = k + int(numpy.argmax(ratio))
        if ratio[p - k] <= tol:
            break
        A[:, [k, p]] = A[:, [p, k]]
        perm[k], perm[p] = perm[p], perm[k]
        v = A[k:, k].copy()
        alpha = -math.copysign(numpy.linalg.norm(v), v[0])
        v[0] -= alpha
        vv = v @ v
        if vv > 0:
            A[k:, k:] -= numpy.outer(v, (2.0 / vv) * (v @ A[k:, k:]))
            b[k:] -= v * (2.0 / vv) * (v @ b[k:])
        rank += 1
    z = numpy.zeros(n)
    for i in range(rank - 1, -1, -1):
        z[i] = (b[i] - A[i, i + 1:rank] @ z[i + 1:rank]) / A[i, i]
    x = numpy.zeros(n)
    for i in range(n):
        x[perm[i]] = z[i]
    return x, float(b[:rank] @ b[:rank])


def inverse(m):
    try:
        inv = numpy.linalg.inv(m)
    except numpy.linalg.LinAlgError:
        return None
    return inv if numpy.all(numpy.isfinite(inv)) else None


def cfdqr2(lorentzian, x, y, a):
    """Returns (status, a). Status 0 converged, 2 a loop limit, 4 bad start or singular, 6 overflow."""
    a = numpy.array(a, dtype=float)
    n, ma = len(x), len(a)
    if n > 500:
        return 4, a
    S = sum(log_factorial(v) for v in y)
    at = model(lorentzian, a, x)
    if at is None:
        return 6, a
    f, g = at
    L = likelihood(y, f)
    if L is None:
        return 4, a
    mu = 0.0
    for c_out in range(1, 10**6):
        w = 1 / numpy.sqrt(f)
        r = (y - f) * w
        J = g * w[:, None]
        s = 1 / numpy.sqrt(numpy.sum(J * J, axis=0))
        J = J * s
        inv = inverse(J.T @ J)
        if inv is None:
            return 4, a
        mu_min = 1 / numpy.trace(inv)
        c_in = 0
        while True:
            c_in += 1
            Jd = numpy.vstack([J, math.sqrt(abs(mu)) * numpy.eye(ma)])
            rd = numpy.concatenate([r, numpy.zeros(ma)])
            z, P = pivoted_qr_solve(Jd, rd)
            d = z * s
            trial = a + d
            tt = model(lorentzian, trial, x)
            if tt is None:
                return 6, a
            ft, gt = tt
            Lt = likelihood(y, ft)
            if Lt is None:
                mu = max(2 * mu, mu_min)
                if c_in > 100:
                    return 2, a
                continue
            H = -((y / ft**2)[:, None] * gt).T @ gt
            Hinv = inverse(H)
            if Hinv is None:
                return 4, a
            h = (Hinv @ (gt / ft[:, None]).T)
            sd = numpy.sqrt(numpy.sum(y * h * h, axis=1))
            if abs(Lt - L) <= 1e-7 * abs(Lt - S) and numpy.all(
                numpy.abs(d) <= numpy.maximum(1e-6 * sd, 1e-10 * numpy.abs(trial))
            ):
                return 0, trial
            rho = (Lt - L) / P
            if rho < 0:
                factor = max(2.0, min(10.0, 2 - rho))
                mu = 0.5 * mu_min * factor if mu == 0 else mu * factor
                if c_in > 500:
                    return 2, a
                continue
            a, L, f, g = trial, Lt, ft, gt
            if rho < 0.25:
                mu = max(2 * mu, mu_min)
            elif rho >= 0.75:
                mu = mu / 2
                if mu < mu_min:
                    mu = 0.0
            break
        if c_out > 100:
            return 2, a
    return 2, a


def scaled_cfdqr2(lorentzian, x, y, a):
    scale = float(numpy.max(numpy.abs(y)))
    b = numpy.array(a, dtype=float)
    b[0] /= scale
    b[3:] /= scale
    status, b = cfdqr2(lorentzian, x, y / scale, b)
    b[0] *= scale
    b[3:] *= scale
    return status, b


def main(path, scaled):
    for kind, start, x, y in read_jobs(path):
        fit = scaled_cfdqr2 if scaled else cfdqr2
        status, a = fit(kind.endswith("lorentz"), x, y, start)
        print(status, " ".join(repr(float(v)) for v in a))


if __name__ == "__main__":
    main(sys.argv[1], len(sys.argv) > 2 and sys.argv[2] == "scaled")
