#!/usr/bin/python3
"""The Vantel value of the logistic map x -> r x (1 - x) across r, beside its
Lyapunov exponent: where the map turns chaotic (exponent above 0), the
series is harder to learn from.

    PYTHONPATH=build/python /usr/bin/python3 examples/logistic_sweep.py --output sweep.png

For each of --count values of r from --r-from to --r-to, the map starts at
x = 0.4, runs --transient steps and then gives a series of --length values;
each series' value (method 5, --epochs epochs) is computed with compute_many
on every core, and the Lyapunov exponent, the mean of ln |r (1 - 2 x)| over
the same series, beside it. Both are drawn against r in two panels that share
the r axis.
"""
import argparse
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import vantel  # noqa: E402
from logistic_map import logistic_series  # noqa: E402


def lyapunov(r, series):
    # ln |f'(x)| with f'(x) = r (1 - 2x); a value of x at exactly 0.5 would
    # give -inf, so it is kept off by the smallest positive double.
    return float(np.mean(np.log(np.maximum(np.abs(r * (1 - 2 * series)), np.finfo(float).tiny))))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", type=int, default=60, help="values of r (default 60)")
    parser.add_argument("--r-from", type=float, default=3.5)
    parser.add_argument("--r-to", type=float, default=4.0)
    parser.add_argument("--length", type=int, default=19625, help="values per series (default 19625)")
    parser.add_argument("--transient", type=int, default=1000, help="steps dropped first (default 1000)")
    parser.add_argument("--epochs", type=int, default=20, help="training epochs (default 20)")
    parser.add_argument("--threads", type=int, default=None, help="default: every core")
    parser.add_argument("--output", default="logistic_sweep.png", help="the PNG to write")
    args = parser.parse_args()

    rs = np.linspace(args.r_from, args.r_to, args.count)
    series = [logistic_series(r, args.length, args.transient) for r in rs]
    exponents = [lyapunov(r, x) for r, x in zip(rs, series)]
    started = time.perf_counter()
    results = vantel.compute_many(series, epochs=args.epochs, threads=args.threads, progress=True)
    seconds = time.perf_counter() - started
    values = [r.value for r in results]
    for r, value, exponent in zip(rs, values, exponents):
        print(f"r = {r:.4f}  value = {value:.4f}  Lyapunov = {exponent:+.4f}")
    print(f"{len(results)} runs of {args.epochs} epochs in {seconds:.1f} s")

    figure, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(8, 6), constrained_layout=True)
    top.plot(rs, values, "o-", markersize=3)
    top.set_ylabel(f"Vantel value ({args.epochs} epochs)")
    top.set_title(f"Logistic map, N = {args.length}, method 5")
    bottom.plot(rs, exponents, "o-", markersize=3, color="tab:red")
    bottom.axhline(0, color="grey", linewidth=0.8)
    bottom.set_ylabel("Lyapunov exponent")
    bottom.set_xlabel("r")
    figure.savefig(args.output, dpi=110)
    print(f"wrote {args.output}")


if __name__ == "__main__":
    main()
