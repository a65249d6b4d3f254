#!/usr/bin/python3
"""Number formatting of Kestrin's script runtime against Python's.

Usage: number_format.py KESTRIN_SCRIPT [COUNT]

Draws seeded values and compares toFixed, toExponential, toString(2|8|16), Math.round,
sprintf("%.Nf") and sprintf("%e") with Python's formatting (exponents rewritten to the
script's forms: "1.25E+1" for toExponential, "1.25000000000000E+001" for %e). Values whose
exact decimal expansion lies within a millionth of a rounding tie are not drawn: there the
runtime rounds decimal layouts away from zero where Python rounds to even. The ties sit in
a hand table below with the runtime's own rounding. A negative value shown as zero has no
sign in the runtime ("0.00" where Python writes "-0.00").
"""
import decimal
import os
import random
import subprocess
import sys
import tempfile
from decimal import Decimal

SEED = 20240301
TIE_MARGIN = Decimal("1e-6")

# Ties with the runtime's rounding: away from zero for every decimal layout, to even for
# Math.round (as Python's round).
TIES = [
    ("(0.125).toFixed(2)", "0.13"),
    ("(-0.125).toFixed(2)", "-0.13"),
    ("(2.5).toFixed(0)", "3"),
    ("(1.005).toFixed(2)", "1.00"),  # 1.00499999999999989... is below the tie
    ("(0.125).toExponential(1)", "1.3E-1"),
    ("(2.5).toExponential(0)", "3E+0"),
    ('sprintf("%.2f", 0.125)', "0.13"),
    ('sprintf("%.0f", 2.5)', "3"),
    ('sprintf("%.0f", -0.5)', "-1"),
    ('sprintf("%.1f", 0.25)', "0.3"),
    ("Math.round(2.5)", "2"),
    ("Math.round(3.5)", "4"),
    ("Math.round(-2.5)", "-2"),
    ("Math.round(0.5)", "0"),
]


def near_tie(x, position):
    """Whether x's exact expansion is near a tie at digit 10^-position."""
    scaled = Decimal(x).scaleb(position)
    fraction = scaled - scaled.to_integral_value(rounding=decimal.ROUND_FLOOR)
    return abs(fraction - Decimal("0.5")) < TIE_MARGIN


def fixed(x, d):
    """Python's %.*f without the sign of a value shown as zero."""
    text = "%.*f" % (d, x)
    return text[1:] if text.startswith("-") and not text.strip("-0.") else text


def exponent_of(x):
    return Decimal(x).adjusted() if x != 0 else 0


def script_exponent(text, min_digits):
    """Python's 1.25e+01 as 1.25E+1 (min_digits 1) or 1.25E+001 (min_digits 3)."""
    mantissa, exponent = text.split("e")
    sign = "-" if exponent.startswith("-") else "+"
    return mantissa + "E" + sign + exponent.lstrip("+-").lstrip("0").rjust(min_digits, "0")


def draw(rng, low, high):
    return rng.uniform(1, 10) * 10 ** rng.randint(low, high) * rng.choice([1, -1])


def cases(rng, count):
    out = []
    while len(out) < count:
        kind = rng.randrange(6)
        if kind == 0:  # toFixed: at most 15 significant digits
            x, d = draw(rng, -3, 8), rng.randint(0, 6)
            if not near_tie(x, d):
                out.append(("(%r).toFixed(%d)" % (x, d), fixed(x, d)))
        elif kind == 1:  # toExponential with d + 1 significant digits
            x, d = draw(rng, -30, 30), rng.randint(0, 13)
            if not near_tie(x, d - exponent_of(x)):
                out.append(("(%r).toExponential(%d)" % (x, d), script_exponent("%.*e" % (d, x), 1)))
        elif kind == 2:  # radix texts of the 32-bit pattern
            n, radix = rng.randint(-2 ** 31, 2 ** 31 - 1), rng.choice([2, 8, 16])
            digits = format(n & 0xFFFFFFFF, {2: "b", 8: "o", 16: "X"}[radix])
            out.append(("(%d).toString(%d)" % (n, radix), digits))
        elif kind == 3:  # Math.round to even, exact beyond 32 bits
            x = draw(rng, -2, 11)
            if not near_tie(x, 0):
                out.append(("Math.round(%r)" % x, str(round(x))))
        elif kind == 4:  # %.Nf without a digit limit
            x, d = draw(rng, -8, 20), rng.randint(0, 10)
            if not near_tie(x, d):
                out.append(('sprintf("%%.%df", %r)' % (d, x), fixed(x, d)))
        else:  # %e: 15 significant digits, three exponent digits
            x = draw(rng, -200, 200)
            if not near_tie(x, 14 - exponent_of(x)):
                out.append(('sprintf("%%e", %r)' % x, script_exponent("%.14e" % x, 3)))
    return out


def run(kestrin, expressions):
    with tempfile.NamedTemporaryFile("w", suffix=".js", delete=False) as f:
        for e in expressions:
            f.write("println(%s);\n" % e)
        path = f.name
    try:
        done = subprocess.run([kestrin, path], capture_output=True, text=True, timeout=300)
    finally:
        os.unlink(path)
    lines = done.stdout.split("\n")
    if not lines or not done.stdout.rstrip("\n").endswith("exit code: 0"):
        raise RuntimeError("kestrin-script failed: " + done.stdout[-500:] + done.stderr[-500:])
    return lines[: len(expressions)]


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    table = cases(random.Random(SEED), count)
    print("%d drawn cases away from ties (seed %d), %d ties from the hand table "
          "(the runtime rounds decimal ties away from zero, Python to even)" % (len(table), SEED, len(TIES)))
    table += TIES
    got = run(sys.argv[1], [e for e, _ in table])
    failures = [(e, want, have) for (e, want), have in zip(table, got) if want != have]
    for e, want, have in failures[:20]:
        print("MISMATCH %s: Python %r, Kestrin %r" % (e, want, have))
    print("%d of %d agree" % (len(table) - len(failures), len(table)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
