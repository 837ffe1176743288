"""Bad input is refused with a message that says what is wrong, before any
work; nothing is cut, corrected or read as 0."""
import math

import numpy as np
import pytest

import vantel
from conftest import noisy

GOOD = noisy(30, 1)


@pytest.mark.parametrize("call, error, words", [
    (lambda c: c.value([1, 2, 3, 4]), ValueError, "at least 5 values, got 4"),
    (lambda c: c.value(np.zeros(19626)), ValueError, "at most 19625 values"),
    (lambda c: c.value(np.zeros(19626)), ValueError, "x[:19625]"),
    (lambda c: c.value([1, 2, math.nan, 4, 5]), ValueError, "value 2 (from 0) is NaN"),
    (lambda c: c.value([1, 2, 3, 4, -math.inf]), ValueError, "value 4 (from 0) is infinite"),
    (lambda c: c.value(GOOD, method=0), ValueError, "method must be 1..6, got 0"),
    (lambda c: c.value(GOOD, method=7), ValueError, "method must be 1..6, got 7"),
    (lambda c: c.value(GOOD, epochs=0), ValueError, "epochs must be 1..100000, got 0"),
    (lambda c: c.value(GOOD, epochs=2**31), ValueError, "epochs must be 1..100000, got 2147483648"),
    (lambda c: c.value(GOOD, epochs=2**70), ValueError, f"epochs must be 1..100000, got {2**70}"),
    (lambda c: c.value(GOOD, method=True), TypeError, "method must be a whole number"),
    (lambda c: c.value(GOOD, method=2.5), TypeError, "method must be a whole number"),
    (lambda c: c.value(GOOD, rescale="unit"), ValueError, "rescale must be one of none, minmax, zscore"),
    (lambda c: c.value(np.full(9, 0.1), rescale="zscore"), ValueError, "constant series"),
    (lambda c: c.value(np.full(9, 3.0), rescale="minmax"), ValueError, "constant series"),
    (lambda c: c.value(np.zeros((2, 10))), TypeError, "must be 1-D"),
    (lambda c: c.value("12345"), TypeError, "sequence of numbers"),
    (lambda c: c.value(["1", "2", "3", "4", "5"]), TypeError, "sequence of numbers"),
    (lambda c: c.value([1, 2, None, 4, 5]), TypeError, "sequence of numbers"),
    (lambda c: c.value(np.ones(6, dtype=complex)), TypeError, "sequence of numbers"),
    (lambda c: c.value(GOOD > 0.5), TypeError, "got an array of booleans"),
    (lambda c: c.sliding(np.ma.masked_less(GOOD, 0.5), 10), TypeError, "masked array, whose mask would be ignored"),
    (lambda c: c.compute_many(GOOD), TypeError, "several series"),
    (lambda c: c.compute_many([GOOD, [1, 2]]), ValueError, "series 1: a series needs at least 5 values"),
    (lambda c: c.compute_many([GOOD], epochs=[3, -1]), ValueError, "epochs must be 1..100000, got -1"),
    (lambda c: c.compute_many([GOOD], threads=0), ValueError, "threads must be 1..1024, got 0"),
    (lambda c: c.compute_many([GOOD], threads=10**9), ValueError, "threads must be 1..1024, got 1000000000"),
    (lambda c: c.compute_many([GOOD], threads=[1, 2]), TypeError, "threads must be a whole number, got [1, 2]"),
    (lambda c: c.compute_many(np.zeros((2, 2, 9))), TypeError, "2-D array"),
    (lambda c: c.compute_many(np.ones((2, 9), dtype=object)), TypeError, "2-D array of Python objects (dtype object)"),
    (lambda c: c.sliding(GOOD, 4), ValueError, "window must be 5..19625, got 4"),
    (lambda c: c.sliding(GOOD, [10]), TypeError, "window must be a whole number, got [10]"),
    (lambda c: c.sliding(GOOD, 31), ValueError, "fewer than one window of 31"),
    (lambda c: c.sliding(GOOD, 10, step=0), ValueError, "step must be 1 or more"),
    (lambda c: c.curve(GOOD, epochs=2**31), ValueError, "epochs must be 1..100000, got 2147483648"),
    (lambda c: c.value([1.7e308] * 10), OverflowError, "Floating point overflow"),
    (lambda c: c.compute(GOOD, scales=[1, 7]), ValueError, "scale 7 leaves 4 values of the 30"),
    (lambda c: c.compute_many([GOOD], scales=0), ValueError, "scales must be 1..3925, got 0"),
    (lambda c: c.compute(GOOD, surrogates=10001), ValueError, "surrogates must be a whole number from 1 to 10000"),
    (lambda c: c.compute(GOOD, surrogates=2, surrogate_kind="aaft"), ValueError, "surrogate_kind must be one of"),
    (lambda c: c.compute(GOOD, surrogates=2, seed=2**64), ValueError, "seed must be 0..18446744073709551615"),
    (lambda c: c.compute(GOOD, surrogates=2, seed=True), TypeError, "seed must be a whole number"),
    (lambda c: c.compute_many([GOOD], surrogates=2, values=True), TypeError, "with surrogates, take the Results"),
])
def test_bad_input_is_refused_saying_what_is_wrong(calculator, call, error, words):
    with pytest.raises(error) as raised:
        call(calculator)
    assert words in str(raised.value)


def test_a_float64_array_is_used_without_a_copy_and_never_changed(calculator):
    x = noisy(50, 2)
    before = x.copy()
    assert vantel._series(x) is x
    calculator.compute(x, epochs=1, rescale="zscore")
    assert np.array_equal(x, before)


def test_missing_datasets_name_the_folder_looked_in_and_the_set_up(tmp_path, monkeypatch):
    with pytest.raises(FileNotFoundError) as raised:
        vantel.Calculator(mnist_dir=tmp_path)
    assert f"not all in {tmp_path} (from mnist_dir)" in str(raised.value)
    assert "train-images.idx3-ubyte" in str(raised.value) and "make setup" in str(raised.value)
    monkeypatch.setenv("VANTEL_MNIST", str(tmp_path / "elsewhere"))
    with pytest.raises(FileNotFoundError, match="from the environment variable VANTEL_MNIST"):
        vantel.Calculator()
    monkeypatch.delenv("VANTEL_MNIST")
    monkeypatch.setenv("HOME", str(tmp_path))
    with pytest.raises(FileNotFoundError) as raised:
        vantel.Calculator()
    assert f"{tmp_path}/.cache/vantel/mnist (from the default folder)" in str(raised.value)


def test_a_damaged_dataset_file_is_a_dataset_error(tmp_path):
    import os
    for name in vantel.MNIST_FILES:
        os.symlink(os.path.join(os.environ["VANTEL_MNIST"], name), tmp_path / name)
    (tmp_path / "t10k-labels.idx1-ubyte").unlink()
    (tmp_path / "t10k-labels.idx1-ubyte").write_bytes(b"\0\0\x08\x01" + b"\0" * 20)
    with pytest.raises(vantel.DatasetError, match="t10k-labels.idx1-ubyte"):
        vantel.Calculator(mnist_dir=tmp_path)


@pytest.mark.parametrize("content, error, words", [
    (None, FileNotFoundError, "No such file"),
    (b"1\n2\x003\n4\n", ValueError, "holds a NUL byte at line 2"),
    ("1\n2\n".encode("utf-16"), ValueError, "is UTF-16 text"),
])
def test_a_file_that_cannot_be_read_as_columns_says_why(tmp_path, content, error, words):
    path = tmp_path / "data.txt"
    if content is not None:
        path.write_bytes(content)
    with pytest.raises(error, match=words):
        vantel.read_columns(path)
