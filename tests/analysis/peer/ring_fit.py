"""Ring positions in a pyFAI profile, shared by the ring peer scripts.

Each ring position is the Gaussian (log parabola) through the largest bin within five bins
of the ring's expected bin and its two neighbours.
"""
import math


def print_ring_positions(tth, prof, rings, begin, step):
    for r in rings:
        guess = int(round((r - begin) / step))
        best = max(range(guess - 5, guess + 6), key=lambda i: prof[i])
        a, b, c = (math.log(prof[best - 1]), math.log(prof[best]), math.log(prof[best + 1]))
        print("%.9f" % (tth[best] + 0.5 * (a - c) / (a - 2 * b + c) * step))
