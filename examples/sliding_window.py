#!/usr/bin/python3
"""How the value changes along a signal whose dynamics change half-way: the
logistic map at r = 3.6 for the first half, at r = 4.0 (fully chaotic) for
the second, its value per sliding window drawn under the signal.

    PYTHONPATH=build/python /usr/bin/python3 examples/sliding_window.py --output sliding.png
"""
import argparse
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import vantel  # noqa: E402


def switching_signal(length, r_first=3.6, r_second=4.0, x=0.4, transient=1000):
    out = np.empty(length)
    for i in range(-transient, length):
        r = r_first if i < length // 2 else r_second
        x = r * x * (1 - x)
        if i >= 0:
            out[i] = x
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--length", type=int, default=40000, help="values of the signal (default 40000)")
    parser.add_argument("--window", type=int, default=4000, help="values per window (default 4000)")
    parser.add_argument("--step", type=int, default=1000, help="between window starts (default 1000)")
    parser.add_argument("--epochs", type=int, default=20, help="training epochs (default 20)")
    parser.add_argument("--output", default="sliding_window.png", help="the PNG to write")
    args = parser.parse_args()

    signal = switching_signal(args.length)
    started = time.perf_counter()
    starts, values = vantel.sliding(signal, args.window, args.step, epochs=args.epochs, progress=True)
    seconds = time.perf_counter() - started
    print(f"{len(starts)} windows of {args.window} values, {args.epochs} epochs, in {seconds:.1f} s")
    for start, value in zip(starts, values):
        print(f"{start}\t{value:.4f}")

    figure, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(9, 5.5), constrained_layout=True)
    top.plot(signal, ",", color="tab:blue")
    top.axvline(args.length // 2, color="grey", linestyle="--", linewidth=0.8)
    top.set_ylabel("x")
    top.set_title("Logistic map, r = 3.6 then r = 4.0")
    centres = starts + args.window / 2
    bottom.plot(centres, values, "o-", markersize=3, color="tab:green")
    bottom.axvline(args.length // 2, color="grey", linestyle="--", linewidth=0.8)
    bottom.set_ylabel(f"Vantel value\n(window {args.window}, {args.epochs} epochs)")
    bottom.set_xlabel("index of the window's centre")
    figure.savefig(args.output, dpi=110)
    print(f"wrote {args.output}")


if __name__ == "__main__":
    main()
