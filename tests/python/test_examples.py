"""The examples run, with tiny settings, and draw their pictures."""
import os
import subprocess
import sys

import pytest

from conftest import EXAMPLE_FILE, SOURCE_DIR

EXAMPLES = os.path.join(SOURCE_DIR, "examples")


@pytest.mark.parametrize("script, arguments, said", [
    ("logistic_sweep.py", ["--count", "3", "--epochs", "1", "--length", "300"], "3 runs of 1 epochs"),
    ("sliding_window.py", ["--length", "300", "--window", "100", "--step", "100", "--epochs", "1"],
     "3 windows of 100 values"),
    ("file_columns.py", [EXAMPLE_FILE, "--epochs", "1"], "4\t0.3578\t19625"),
    ("surrogates.py", ["--count", "2", "--epochs", "1", "--length", "300", "--surrogates", "2"],
     "6 runs of 1 epochs (2 series, 2 shuffles each)"),
    ("multiscale.py", ["--largest-scale", "2", "--epochs", "1", "--length", "300"], "6 runs of 1 epochs"),
])
def test_an_example_runs_and_draws(tmp_path, script, arguments, said):
    picture = tmp_path / "picture.png"
    if script != "file_columns.py":
        arguments = arguments + ["--output", str(picture)]
    done = subprocess.run([sys.executable, os.path.join(EXAMPLES, script), *arguments],
                          capture_output=True, text=True, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    assert said in done.stdout
    if script != "file_columns.py":
        assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
