"""Shared pieces of the Python package's tests, which ctest runs with the
package of the build on PYTHONPATH and these variables set:
VANTEL_MNIST (the MNIST-10 folder), VANTEL_APP_DIR (the program folder with
the command `vantel` and DATA/) and VANTEL_SOURCE_DIR (the repository)."""
import os
import subprocess
import sys

import numpy as np
import pytest

import vantel

APP_DIR = os.environ.get("VANTEL_APP_DIR", "")
SOURCE_DIR = os.environ.get("VANTEL_SOURCE_DIR", "")
COMMAND = os.path.join(APP_DIR, "vantel")
EXAMPLE_FILE = os.path.join(APP_DIR, "DATA", "logistic_map.txt")


@pytest.fixture(scope="session")
def calculator():
    return vantel.Calculator()


def noisy(n, seed=1):
    """A series with no special structure, of n values."""
    return np.random.default_rng(seed).normal(0.5, 0.2, n)


def run_command(*arguments):
    """The command's standard output; fails the test on a non-zero status."""
    done = subprocess.run([COMMAND, *arguments], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def child_python(code, **kwargs):
    """A child interpreter like this one, running `code`."""
    return subprocess.Popen([sys.executable, "-c", code], env=dict(os.environ), text=True, **kwargs)
