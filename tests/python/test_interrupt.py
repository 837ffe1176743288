"""Ctrl-C in the middle of a long run raises KeyboardInterrupt: the runs
stop at their next image. The child's progress line tells when training has
begun; only then does it get the signal (a handshake, not a delay). Other
threads run while runs work, and runs that get no thread raise."""
import os
import re
import signal
import subprocess
import sys
import threading

import pytest

import vantel
from conftest import noisy

CHILD = r"""
import numpy as np, vantel
calculator = vantel.Calculator()
try:
    calculator.compute_many([np.linspace(0, 1, 19625)], epochs=100000, progress=True)
except KeyboardInterrupt:
    print("interrupted", flush=True)
    # The calculator is usable again at once.
    print(calculator.compute(np.linspace(0, 1, 50), epochs=1).value_text, flush=True)
"""


def test_ctrl_c_interrupts_a_long_run():
    child = subprocess.Popen([sys.executable, "-c", CHILD], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    try:
        seen = b""
        while not any(int(done) > 0 for done in re.findall(rb"(\d+) of 100000 epochs trained", seen)):
            piece = os.read(child.stderr.fileno(), 4096)
            assert piece, f"the child ended before its run had trained: {seen!r}"
            seen += piece
        child.send_signal(signal.SIGINT)
        out, err = child.communicate(timeout=60)
    finally:
        child.kill()
    assert child.returncode == 0, err
    assert out.decode().split()[0] == "interrupted"
    assert re.fullmatch(r"0\.\d{4}", out.decode().split()[1])


def test_other_threads_run_while_a_compute_works(calculator):
    # With so long a switch interval the GIL changes hands only where it is released.
    go, ran = threading.Event(), threading.Event()
    other = threading.Thread(target=lambda: go.wait() and ran.set())
    other.start()

    def stop_once_the_other_ran(*progress):
        if ran.is_set():
            raise InterruptedError

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    try:
        go.set()
        with pytest.raises(InterruptedError):  # else the other thread waited for the whole run
            choice = vantel._vantel.RunChoice([5], [200], [1], "none", 1, 0, "shuffle", 1)
            calculator._engine.run([noisy(50, 11)], choice, stop_once_the_other_ran)
    finally:
        sys.setswitchinterval(interval)
        other.join()


def test_runs_that_cannot_start_a_thread_raise():
    # 4 MB more address space than the loaded datasets take is less than a thread's stack.
    child = subprocess.run([sys.executable, "-c", """
import resource, numpy as np, vantel
calculator = vantel.Calculator()
size = int(open("/proc/self/statm").read().split()[0]) * resource.getpagesize()
resource.setrlimit(resource.RLIMIT_AS, (size + (4 << 20), resource.RLIM_INFINITY))
try:
    calculator.compute_many([np.linspace(0, 1, 50)], epochs=1, threads=1)
except RuntimeError as error:
    print(error)
"""], capture_output=True, text=True)
    assert child.stdout.startswith("cannot start a thread for the runs: "), child.stdout + child.stderr
