#!/usr/bin/python3
"""Multiscale Vantel values: the value of a series coarse-grained at scales
1..10 (the means of its consecutive blocks of s values), for the logistic map
at r = 4, a shuffle of the same values and a random walk.

    PYTHONPATH=build/python /usr/bin/python3 examples/multiscale.py --output multiscale.png

Each series has --length values (the map after --transient steps from
x = 0.4; the walk a sum of uniform steps in [-0.5, 0.5]); the shuffle is
vantel.surrogate(map, "shuffle", --seed), the same permutation the command's
--surrogates 1 --seed S trains. Every series is rescaled onto [0, 1] at each
scale (--rescale minmax), so that the walk's wide range does not decide its
value; all runs go to the threads at once with compute_many(scales=...).
"""
import argparse
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import vantel  # noqa: E402
from logistic_map import logistic_series  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--largest-scale", type=int, default=10, help="scales 1.. this (default 10)")
    parser.add_argument("--length", type=int, default=19625, help="values per series (default 19625)")
    parser.add_argument("--transient", type=int, default=1000, help="steps dropped first (default 1000)")
    parser.add_argument("--epochs", type=int, default=5, help="training epochs (default 5)")
    parser.add_argument("--rescale", default="minmax", choices=vantel.RESCALINGS)
    parser.add_argument("--seed", type=int, default=vantel.DEFAULT_SEED)
    parser.add_argument("--threads", type=int, default=None, help="default: every core")
    parser.add_argument("--output", default="multiscale.png", help="the PNG to write")
    args = parser.parse_args()

    logistic = logistic_series(4.0, args.length, args.transient)
    walk = np.cumsum(np.random.default_rng(args.seed).uniform(-0.5, 0.5, args.length))
    named = {
        "logistic map, r = 4": logistic,
        "its shuffle": vantel.surrogate(logistic, "shuffle", args.seed),
        "random walk": walk,
    }
    scales = list(range(1, args.largest_scale + 1))
    started = time.perf_counter()
    values = vantel.compute_many(list(named.values()), epochs=args.epochs, threads=args.threads, progress=True,
                                 rescale=args.rescale, scales=scales, values=True)
    seconds = time.perf_counter() - started
    print("scale  " + "  ".join(f"{name:>20}" for name in named))
    for i, s in enumerate(scales):
        print(f"{s:5d}  " + "  ".join(f"{values[k, i]:20.4f}" for k in range(len(named))))
    print(f"{values.size} runs of {args.epochs} epochs in {seconds:.1f} s")

    figure, axes = plt.subplots(figsize=(8, 4.5), constrained_layout=True)
    for k, name in enumerate(named):
        axes.plot(scales, values[k], "o-", markersize=4, label=name)
    axes.set_xlabel("scale (values averaged into one)")
    axes.set_ylabel(f"Vantel value ({args.epochs} epochs, {args.rescale})")
    axes.set_xticks(scales)
    axes.set_title(f"Multiscale values, N = {args.length} at scale 1, method 5")
    axes.legend()
    figure.savefig(args.output, dpi=110)
    print(f"wrote {args.output}")


if __name__ == "__main__":
    main()
