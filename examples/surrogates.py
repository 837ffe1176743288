#!/usr/bin/python3
"""The Vantel value of the logistic map x -> r x (1 - x) across r, against
shuffled surrogates of each series: the band of the surrogates' values (mean
+- 2 sd) shows what the distribution of the values alone gives, and the
z-scores below how far the order of the values moves the value from it.

    PYTHONPATH=build/python /usr/bin/python3 examples/surrogates.py --output surrogates.png

For each of --count values of r from --r-from to --r-to, the map starts at
x = 0.4, runs --transient steps and then gives a series of --length values.
Each series is computed (method 5, --epochs epochs) with --surrogates
shuffles of it (--seed), every run on the threads at once, with
compute_many. A shuffle keeps the values and destroys their order, so a
value outside its band differs from its shuffles because of the order alone.
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
    parser.add_argument("--count", type=int, default=21, help="values of r (default 21)")
    parser.add_argument("--r-from", type=float, default=3.5)
    parser.add_argument("--r-to", type=float, default=4.0)
    parser.add_argument("--length", type=int, default=19625, help="values per series (default 19625)")
    parser.add_argument("--transient", type=int, default=1000, help="steps dropped first (default 1000)")
    parser.add_argument("--epochs", type=int, default=5, help="training epochs (default 5)")
    parser.add_argument("--surrogates", type=int, default=10, help="shuffles of each series (default 10)")
    parser.add_argument("--seed", type=int, default=vantel.DEFAULT_SEED)
    parser.add_argument("--threads", type=int, default=None, help="default: every core")
    parser.add_argument("--output", default="surrogates.png", help="the PNG to write")
    args = parser.parse_args()

    rs = np.linspace(args.r_from, args.r_to, args.count)
    series = [logistic_series(r, args.length, args.transient) for r in rs]
    started = time.perf_counter()
    results = vantel.compute_many(series, epochs=args.epochs, threads=args.threads, progress=True,
                                  surrogates=args.surrogates, seed=args.seed)
    seconds = time.perf_counter() - started
    values = np.array([r.value for r in results])
    means = np.array([r.surrogate_mean for r in results])
    sds = np.array([r.surrogate_sd for r in results])
    z = np.array([np.nan if r.z_score is None else r.z_score for r in results])
    for r, result in zip(rs, results):
        print(f"r = {r:.4f}  value = {result.value:.4f}  shuffles {result.surrogate_mean:.4f} "
              f"+- {result.surrogate_sd:.4f}  z = {result.z_score:+.2f}  p = {result.p_value:.3f}")
    runs = len(results) * (1 + args.surrogates)
    print(f"{runs} runs of {args.epochs} epochs ({len(results)} series, {args.surrogates} shuffles each) "
          f"in {seconds:.1f} s")

    figure, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(8, 6), constrained_layout=True)
    top.fill_between(rs, means - 2 * sds, means + 2 * sds, color="tab:grey", alpha=0.35,
                     label=f"{args.surrogates} shuffles: mean +- 2 sd")
    top.plot(rs, means, "-", color="tab:grey", linewidth=0.8)
    top.plot(rs, values, "o-", markersize=3, label="the series")
    top.set_ylabel(f"Vantel value ({args.epochs} epochs)")
    top.set_title(f"Logistic map, N = {args.length}, method 5, against shuffles of each series")
    top.legend(loc="upper left")
    bottom.bar(rs, z, width=(rs[1] - rs[0]) * 0.7 if len(rs) > 1 else 0.01, color="tab:red")
    for level in (-2, 2):
        bottom.axhline(level, color="grey", linewidth=0.8, linestyle="--")
    bottom.axhline(0, color="grey", linewidth=0.8)
    bottom.set_ylabel("z-score against the shuffles")
    bottom.set_xlabel("r")
    figure.savefig(args.output, dpi=110)
    print(f"wrote {args.output}")


if __name__ == "__main__":
    main()
