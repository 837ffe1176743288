"""Ctrl-C in the middle of a long run raises KeyboardInterrupt: the runs
stop at their next image. The child's progress line tells when training has
begun; only then does it get the signal (a handshake, not a delay)."""
import os
import re
import signal
import subprocess
import sys

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
