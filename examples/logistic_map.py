"""The logistic map x -> r x (1 - x), shared by the examples."""
import numpy as np


def logistic_series(r, length, transient, x=0.4):
    """`length` values of the map at r, from x after `transient` steps dropped."""
    for _ in range(transient):
        x = r * x * (1 - x)
    out = np.empty(length)
    for i in range(length):
        x = r * x * (1 - x)
        out[i] = x
    return out
