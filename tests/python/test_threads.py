"""Runs on worker threads: other Python threads go on while they work, and a
run that gets no thread or no memory raises, naming what it lacked, instead
of ending the interpreter."""
import subprocess
import sys
import threading

import numpy as np
import pytest

from conftest import noisy


class Done(Exception):
    pass


def test_other_threads_run_while_a_compute_works(calculator):
    # With the switch interval this long, the compute's thread gives up the
    # GIL only where it releases it: the other thread can set `ran` during
    # the compute only if the runs are computed without the GIL.
    go, ran = threading.Event(), threading.Event()
    other = threading.Thread(target=lambda: go.wait() and ran.set())
    other.start()

    def progress(*_):
        if ran.is_set():
            raise Done

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    try:
        go.set()
        with pytest.raises(Done):  # the compute stops once the other thread has run
            calculator._engine.run([noisy(50, 11)], [5], [200], "none", 1, progress)
    finally:
        sys.setswitchinterval(interval)
        other.join()


# The child loads the datasets, then gets an address space of its present
# size and a margin: 4 MB is less than a thread's stack, 12 MB holds a
# thread and its network but not the run's buffers. (Making the network
# itself takes a few hundred KB, too narrow a margin to hit reliably.)
CHILD = r"""
import resource, sys, numpy as np, vantel
calculator = vantel.Calculator()
with open("/proc/self/statm") as statm:
    size = int(statm.read().split()[0]) * resource.getpagesize()
resource.setrlimit(resource.RLIMIT_AS, (size + (int(sys.argv[1]) << 20), resource.RLIM_INFINITY))
try:
    calculator.compute_many([np.linspace(0, 1, 50)], epochs=1, threads=1)
except Exception as error:
    print(type(error).__name__, error)
"""


@pytest.mark.parametrize("megabytes, said", [
    (4, "RuntimeError cannot start a thread for the runs: "),
    (12, "MemoryError method 5: out of memory for the run"),
])
def test_a_run_without_a_thread_or_memory_raises_saying_what_it_lacked(megabytes, said):
    done = subprocess.run([sys.executable, "-c", CHILD, str(megabytes)], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert done.stdout.startswith(said)
