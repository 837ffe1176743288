#!/usr/bin/python3
"""The Python package's costs, on this machine:
- the overhead of a call: the wall-clock time of vantel.compute less the
  time the computation API reports for the run itself (target: under 1 ms);
- compute_many of 8 series at 10 epochs on 2 threads against 1 thread
  (target: at most 0.6 of the time);
- the peak memory of a process that loaded the datasets and ran 2 threads.

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py   (or: make bench)
"""
import statistics
import subprocess
import sys
import time

import numpy as np

import vantel

MEMORY_CHILD = r"""
import resource, numpy as np, vantel
c = vantel.Calculator()
c.compute_many([np.linspace(0, 1, 19625), np.linspace(1, 0, 19625)], epochs=1, threads=2)
print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)
"""


def main():
    calculator = vantel.Calculator()
    x = np.random.default_rng(1).random(19625)
    calculator.compute(x, epochs=1)  # the first call builds the networks

    overheads = []
    for _ in range(10):
        started = time.perf_counter()
        result = calculator.compute(x, epochs=1)
        overheads.append(time.perf_counter() - started - result.seconds)
    print(f"call overhead over the API's run time: median {statistics.median(overheads) * 1e3:.3f} ms, "
          f"largest {max(overheads) * 1e3:.3f} ms (10 calls of 1 epoch)")

    series = [np.random.default_rng(s).random(19625) for s in range(8)]
    times = {}
    for threads in (1, 2):
        started = time.perf_counter()
        results = calculator.compute_many(series, epochs=10, threads=threads)
        times[threads] = time.perf_counter() - started
        fingerprints = [r.w2_sha256 for r in results]
        if threads == 1:
            first = fingerprints
        elif fingerprints != first:
            sys.exit("compute_many gave other results on 2 threads than on 1")
    print(f"compute_many, 8 series x 10 epochs: 1 thread {times[1]:.2f} s, 2 threads {times[2]:.2f} s, "
          f"ratio {times[2] / times[1]:.2f} (results identical)")

    peak = subprocess.run([sys.executable, "-c", MEMORY_CHILD], capture_output=True, text=True, check=True)
    print(f"peak memory of a process that loaded the datasets and ran 2 threads: "
          f"{int(peak.stdout) / 1024:.0f} MB")


if __name__ == "__main__":
    main()
