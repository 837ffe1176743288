"""The Vantel calculator: the entropy of a time series, from numpy arrays.

A series of 5 to 19625 numbers is written into the hidden weights (the
reservoir matrix W1, 785 x 25 cells) of a small fixed network, the VedEro,
by one of six fill methods. The network's output layer is then trained on
the 60000 MNIST-10 training images for a number of epochs and tested on the
10000 test images. The share of test images classified right is the Vantel
value of the series: how well a network learns when the series is its hidden
layer. Everything but W1 is the same for every series, so the value depends
only on the series, the fill method and the epochs. The values are bit for
bit those of the window's START and of the ``vantel`` command.

    >>> import numpy as np, vantel
    >>> x = np.random.default_rng(1).random(19625)
    >>> vantel.value(x, epochs=10)          # doctest: +SKIP
    0.4012

A run of 100 epochs (the default) takes about 3 seconds on two cores; each
epoch costs about 0.03 s, and a run has a fixed part of about 0.14 s (the
reservoir's bounds and the test). The datasets (about 110 MB) are loaded
once per Calculator; the module-level functions share one Calculator made on
first use.
"""
from __future__ import annotations

# The namespace holds the package's API alone: what it needs besides is
# imported under private names.
import inspect as _inspect
import os as _os
import sys as _sys
import threading as _threading
import typing as _typing
from collections.abc import Iterable as _Iterable, Sequence as _Sequence
from dataclasses import dataclass as _dataclass, field as _field

import numpy as _np

from . import _vantel

__version__: str = _vantel.version
DatasetError = _vantel.DatasetError
DatasetError.__module__ = __name__

MIN_SERIES_LENGTH: int = _vantel.min_series_length
MAX_SERIES_LENGTH: int = _vantel.max_series_length
RESCALINGS = ("none", "minmax", "zscore")
SURROGATE_KINDS = ("shuffle", "iaaft")
DEFAULT_SEED: int = _vantel.default_seed
IAAFT_ITERATIONS: int = _vantel.iaaft_iterations

MNIST_FILES = (
    "train-images.idx3-ubyte",
    "train-labels.idx1-ubyte",
    "t10k-images.idx3-ubyte",
    "t10k-labels.idx1-ubyte",
)
DEFAULT_MNIST_DIR = _os.path.join("~", ".cache", "vantel", "mnist")
DEFAULT_T_PATTERN = _os.path.join(_os.path.dirname(_os.path.abspath(__file__)), "T-pattern-3.VM")
_SETUP_COMMAND = "make setup (in the Vantel calculator's source folder)"

__all__ = [
    "Calculator", "Result", "Columns", "DatasetError", "value", "compute", "compute_many", "curve",
    "sliding", "read_columns", "surrogate", "coarse_grained", "__version__", "MIN_SERIES_LENGTH",
    "MAX_SERIES_LENGTH", "RESCALINGS", "SURROGATE_KINDS", "DEFAULT_SEED", "IAAFT_ITERATIONS", "MNIST_FILES",
    "DEFAULT_MNIST_DIR", "DEFAULT_T_PATTERN",
]


@_dataclass(frozen=True, repr=False, eq=False)
class Result:
    """One run: a series, a fill method and an epoch count.

    value         the Vantel value, the share of test images classified right
                  (the double nearest to value_text)
    value_text    the value with four decimals, as the window shows it ("0.8765")
    correct_count test images classified right
    tested_count  test images tested (10000)
    n             the series' length (of the values given: at scale s the
                  coarse series trained has n // s values), as in the command
    method        the fill method, 1..6
    epochs        training epochs
    w2            the trained output weights W2, a 26 x 10 array (26 = bias + 25
                  hidden neurons, 10 outputs)
    w2_sha256     SHA-256 of W2 as 260 little-endian doubles, row by row: the
                  same on every machine that trained the same network
    datasets_sha256  SHA-256 of the four MNIST-10 files one after another
                  (train images, train labels, test images, test labels)
    seconds       wall-clock time of the run (of a shared run, up to this count)
    warnings      what the run's value should be read with, as texts: that the
                  MNIST-10 files are not the published ones, so that the value
                  differs from everyone else's; empty for a plain run
    relative_change  (second - first) / second of the values at exactly two
                  epoch counts, on the run of the second count, as the command
                  gives it (four decimals); None on other runs and when the
                  second value is 0
    version       the calculator's version
    start         the index (from 0) in the given series of the first value used
    window        the window's length for a run of ``sliding``, else None
    rescale       "none", "minmax" or "zscore"
    scale         the scale the series was coarse-grained at (1: the series itself)
    surrogates    how many surrogate series were computed beside it (0: none)
    surrogate_kind, seed  how they were made (see surrogate)
    surrogate_values  their values, in the order of their index (empty without)
    surrogate_mean, surrogate_sd  their mean and standard deviation (sd with
                  surrogates - 1 in the denominator; None for one surrogate)
    z_score       (value - surrogate_mean) / surrogate_sd: how many standard
                  deviations the value lies from its surrogates'; None when
                  the sd is 0 or undefined
    p_value       two-sided rank p-value: (1 + the number of surrogates at
                  least as far from their mean as the value) / (surrogates + 1);
                  never below 1 / (surrogates + 1)

    What the z-score and p-value say: with shuffles, which keep the values
    and destroy their order, a value far from its surrogates' differs
    because of the order of the values alone (their distribution is the
    same); with iaaft surrogates, which keep the values and the power
    spectrum too, because of an order that the linear correlations do not
    explain. They do not say that the series is random or deterministic, nor
    compare two series: values of comparable series scatter by several
    hundredths, and the p-value cannot be smaller than 1 / (surrogates + 1).
    """

    value: float
    value_text: str
    correct_count: int
    tested_count: int
    n: int
    method: int
    epochs: int
    w2: _np.ndarray = _field(repr=False)
    w2_sha256: str
    datasets_sha256: str
    seconds: float
    warnings: list[str]
    relative_change: float | None
    version: str = __version__
    start: int = 0
    window: int | None = None
    rescale: str = "none"
    scale: int = 1
    surrogates: int = 0
    surrogate_kind: str = "shuffle"
    seed: int = DEFAULT_SEED
    surrogate_values: _np.ndarray = _field(default_factory=lambda: _np.empty(0), repr=False)
    surrogate_mean: float | None = None
    surrogate_sd: float | None = None
    z_score: float | None = None
    p_value: float | None = None

    def __repr__(self) -> str:
        where = f", start={self.start}, window={self.window}" if self.window is not None else ""
        scale = f", rescale={self.rescale!r}" if self.rescale != "none" else ""
        if self.scale != 1:
            scale += f", scale={self.scale}"
        if self.surrogates:
            z = "None" if self.z_score is None else f"{self.z_score:.3g}"
            scale += (f", surrogates={self.surrogates} {self.surrogate_kind}, z_score={z}, "
                      f"p_value={self.p_value:.3g}")
        return (f"Result(value={self.value_text}, method={self.method}, epochs={self.epochs}, n={self.n}"
                f"{where}{scale}, correct_count={self.correct_count}/{self.tested_count}, "
                f"w2_sha256='{self.w2_sha256[:12]}...', seconds={self.seconds:.3f})")


class Columns(_typing.NamedTuple):
    """What ``read_columns`` returns: ``values`` (one row per line of the file,
    one column per series) and ``warnings`` (what the readers read as 0,
    guessed or could not read)."""

    values: _np.ndarray
    warnings: list[str]


def _numbers(x, what: str) -> _np.ndarray:
    """x as an array of numbers, of any shape; refused as what it is
    otherwise."""
    if isinstance(x, _np.ma.MaskedArray):
        raise TypeError(f"{what} is a masked array, whose mask would be ignored (its masked values computed as "
                        f"they are stored); pass x.compressed() to drop them or x.filled(value) to fill them")
    try:
        array = _np.asarray(x)
    except (TypeError, ValueError) as error:  # ragged nested lists, say
        raise TypeError(f"{what} must be a 1-D sequence of numbers: {error}") from None
    if array.dtype.kind == "b":
        raise TypeError(f"{what} must be a 1-D sequence of numbers, got an array of booleans; "
                        f"pass x.astype(float) to compute them as 0 and 1")
    if array.dtype.kind not in "iuf":
        raise TypeError(f"{what} must be a 1-D sequence of numbers, got an array of {array.dtype}")
    return array


def _series(x, what: str = "x") -> _np.ndarray:
    """x as a 1-D float64 array (no copy when it already is one), checked."""
    array = _numbers(x, what)
    if array.ndim != 1:
        raise TypeError(f"{what} must be 1-D (one series), got an array of {array.ndim} dimensions "
                        f"of shape {array.shape}")
    array = _np.ascontiguousarray(array, dtype=_np.float64)
    n = array.shape[0]
    if n < MIN_SERIES_LENGTH:
        raise ValueError(f"{what}: a series needs at least {MIN_SERIES_LENGTH} values, got {n}")
    if n > MAX_SERIES_LENGTH:
        raise ValueError(f"{what}: a series may hold at most {MAX_SERIES_LENGTH} values (the cells of W1), "
                         f"got {n}; nothing is cut: pass the part to use, such as x[:{MAX_SERIES_LENGTH}], "
                         f"or use sliding()")
    finite = _np.isfinite(array)
    if not finite.all():
        i = int(_np.argmin(finite))
        kind = "NaN" if _np.isnan(array[i]) else "infinite"
        raise ValueError(f"{what}: value {i} (from 0) is {kind}; every value must be a finite number "
                         f"(nothing is read as 0: drop or fill such values first)")
    return array


def _is_list(values) -> bool:
    return isinstance(values, (list, tuple, range, _np.ndarray))


def _whole_numbers(values, name: str, low: int | None = None, high: int | None = None, problem=None,
                   one: bool = False) -> list[int]:
    """The whole numbers of `values` (one, or a list unless `one`), each
    checked by the engine's `problem` or against low..high."""
    items = list(values) if not one and _is_list(values) else [values]
    if not items:
        raise ValueError(f"{name}: no value given")
    kind = "a whole number" if one else "a whole number or a list of them"
    out = []
    for item in items:
        if isinstance(item, (bool, _np.bool_)) or not isinstance(item, (int, _np.integer)):
            raise TypeError(f"{name} must be {kind}, got {item!r}")
        item = int(item)
        if problem is not None:
            # The engine takes 64-bit numbers: a larger one is shown as given.
            text = problem(max(min(item, 2**63 - 1), -2**63))
            if text:
                raise ValueError(text.rsplit(", got ", 1)[0] + f", got {item}")
        elif item < low or (high is not None and item > high):
            bounds = f"{low}..{high}" if high is not None else f"{low} or more"
            raise ValueError(f"{name} must be {bounds}, got {item}")
        out.append(item)
    return out


def _methods(method) -> list[int]:
    return _whole_numbers(method, "method", problem=_vantel.method_problem)


def _epochs(epochs) -> list[int]:
    return _whole_numbers(epochs, "epochs", problem=_vantel.epochs_problem)


def _rescale(rescale: str) -> str:
    if rescale not in RESCALINGS:
        raise ValueError(f"rescale must be one of {', '.join(RESCALINGS)}, got {rescale!r}")
    return rescale


def _surrogate_choice(surrogates, surrogate_kind, seed) -> tuple[int, str, int]:
    count = _whole_numbers(surrogates, "surrogates", one=True,
                           problem=lambda k: "" if k == 0 else _vantel.surrogates_problem(k))[0]
    if surrogate_kind not in SURROGATE_KINDS:
        raise ValueError(f"surrogate_kind must be one of {', '.join(SURROGATE_KINDS)}, got {surrogate_kind!r}")
    return count, surrogate_kind, _whole_numbers(seed, "seed", 0, 2**64 - 1, one=True)[0]


def _scales(scales) -> list[int]:
    return [1] if scales is None else _whole_numbers(scales, "scales", 1, _MAX_SCALE)


_MAX_SCALE = MAX_SERIES_LENGTH // MIN_SERIES_LENGTH
_PLAIN = (0, "shuffle", DEFAULT_SEED)


def _threads(threads: int | None) -> int:
    if threads is None:
        return _vantel.available_cores()
    return _whole_numbers(threads, "threads", problem=_vantel.threads_problem, one=True)[0]


def _progress_line(stream=None):
    stream = stream or _sys.stderr
    shown = [""]

    def show(runs_done, runs, epochs_done, epochs, seconds):
        left = ""
        if 0 < epochs_done < epochs:
            left = f", about {seconds * (epochs - epochs_done) / epochs_done:.0f} s left"
        text = f"vantel: {runs_done} of {runs} runs, {epochs_done} of {epochs} epochs trained, {seconds:.0f} s{left}"
        if text != shown[0]:  # redrawn only when it changes
            stream.write(f"\r{text:<{len(shown[0])}}")
            stream.flush()
            shown[0] = text

    return show


def _mnist_folder(mnist_dir) -> str:
    if mnist_dir is not None:
        folder, source = _os.fspath(mnist_dir), "mnist_dir"
    elif _os.environ.get("VANTEL_MNIST"):
        folder, source = _os.environ["VANTEL_MNIST"], "the environment variable VANTEL_MNIST"
    else:
        folder, source = _os.path.expanduser(DEFAULT_MNIST_DIR), "the default folder"
    missing = [name for name in MNIST_FILES if not _os.path.isfile(_os.path.join(folder, name))]
    if missing:
        raise FileNotFoundError(
            f"the MNIST-10 files are not all in {folder} (from {source}): missing {', '.join(missing)}. "
            f"Looked in: {folder}. Give the folder that holds them as Calculator(mnist_dir=...) or in "
            f"VANTEL_MNIST; the default is {_os.path.expanduser(DEFAULT_MNIST_DIR)}, which {_SETUP_COMMAND} "
            f"fills for the user who runs it")
    return folder


class Calculator:
    """One loaded set of datasets (MNIST-10 and the T-pattern, about 110 MB),
    shared by every run of this object, on any number of threads.

    mnist_dir  the folder of the four MNIST-10 files; else the environment
               variable VANTEL_MNIST; else ~/.cache/vantel/mnist, which set-up
               (``make setup`` in the source folder) fills
    t_pattern  the T-pattern file; else the one that comes with the package

    Raises FileNotFoundError naming the folder looked in when files are
    missing, and DatasetError (an OSError) for a file that is damaged.
    """

    def __init__(self, mnist_dir: str | _os.PathLike | None = None,
                 t_pattern: str | _os.PathLike | None = None):
        folder = _mnist_folder(mnist_dir)
        pattern = _os.fspath(t_pattern) if t_pattern is not None else DEFAULT_T_PATTERN
        if not _os.path.isfile(pattern):
            raise FileNotFoundError(f"the T-pattern file {pattern} does not exist")
        self._engine = _vantel.Engine(folder, pattern)

    @property
    def mnist_dir(self) -> str:
        return self._engine.mnist_dir

    @property
    def t_pattern(self) -> str:
        return self._engine.t_pattern

    def __repr__(self) -> str:
        return f"Calculator(mnist_dir={self.mnist_dir!r}, t_pattern={self.t_pattern!r})"

    def _run(self, series: list[_np.ndarray], methods: list[int], epochs: list[int], rescale: str,
             threads: int, progress, scales: list[int] = [1], surrogates: tuple = _PLAIN) -> list[Result]:
        choice = _vantel.RunChoice(methods, epochs, scales, rescale, threads, *surrogates)
        runs = self._engine.run(series, choice, progress)
        return [Result(**fields, rescale=rescale) for fields in runs]

    def _values(self, series: list[_np.ndarray], methods: list[int], epochs: list[int], rescale: str,
                threads: int, progress, scales: list[int] = [1]) -> _np.ndarray:
        choice = _vantel.RunChoice(methods, epochs, scales, rescale, threads, *_PLAIN)
        return self._engine.run_values(series, choice, progress)

    def value(self, x, method: int = 5, epochs: int = 100, rescale: str = "none") -> float:
        """The Vantel value of the series x, a float with four decimals' worth of
        meaning (see compute for the arguments)."""
        return self.compute(x, method, epochs, rescale).value

    def compute(self, x, method: int = 5, epochs: int = 100, rescale: str = "none", surrogates: int = 0,
                surrogate_kind: str = "shuffle", seed: int = DEFAULT_SEED,
                scales: int | _Sequence[int] | None = None) -> Result | list[Result]:
        """One run: the Result of the series x.

        The series becomes the hidden weights W1 of a fixed network whose
        output layer is then trained on the 60000 MNIST-10 training images
        and tested on the 10000 test images; the value is the share of test
        images it classifies right (0.1 is chance; higher values mean a
        series from which the network learns better). Values compare only at
        the same method and epochs, and, without rescaling, on the same scale.

        x        a 1-D sequence of 5 to 19625 finite numbers (converted to
                 float64; an array that is float64 already is not copied)
        method   the fill method of W1, 1..6: 1 and 4 repeat the series over
                 the cells, 2 and 5 start it again for each neuron (input), 3
                 and 6 stretch it over all cells; 1..3 go neuron by neuron,
                 4..6 input by input
        epochs   training epochs, 1 or more; about 0.03 s each on two cores,
                 after a fixed 0.14 s (100 epochs: about 3 s)
        rescale  "none" (the value the window gives), "minmax" (onto [0, 1])
                 or "zscore" (mean 0, population standard deviation 1)
        surrogates  how many surrogate series to compute beside x (0: none),
                 each a run of its own on the threads: the Result then has
                 their values, their mean and sd, the value's z-score and its
                 rank p-value against them (see Result for what these say and
                 do not say)
        surrogate_kind  "shuffle" (a random permutation of x: the same
                 values, their order destroyed) or "iaaft" (the same values
                 and nearly the same power spectrum; see surrogate)
        seed     the random generator's seed, 0 .. 2**64 - 1: the same seed
                 gives the same surrogates, here and in the vantel command
        scales   a scale s, or a list of them: x is first coarse-grained into
                 the means of its consecutive blocks of s values (a last
                 incomplete block dropped; see coarse_grained), then rescaled,
                 and each scale's surrogates are made from its coarse series.
                 Given as a list, compute returns a list of Results, one per
                 scale; a scale that leaves fewer than 5 values is refused

        Raises ValueError for a series of the wrong length or with a value
        that is not finite, a method outside 1..6 or fewer than 1 epoch;
        TypeError for an argument that is not a 1-D sequence of numbers
        (booleans and masked arrays are refused too); OverflowError when the
        values are so large that the network's arithmetic leaves the double
        range; MemoryError when a run's memory cannot be had; RuntimeError
        when not one worker thread can be started. Ctrl-C raises
        KeyboardInterrupt within about a second."""
        series = _series(x)
        m = _methods(method)
        e = _epochs(epochs)
        if len(m) != 1 or len(e) != 1:
            raise TypeError("compute takes one method and one epoch count; use compute_many for lists")
        found = self._run([series], m, e, _rescale(rescale), _threads(None), None, _scales(scales),
                          _surrogate_choice(surrogates, surrogate_kind, seed))
        return found if _is_list(scales) else found[0]

    def compute_many(self, series, method: int | _Sequence[int] = 5,
                     epochs: int | _Sequence[int] = 100, threads: int | None = None,
                     progress: bool = False, rescale: str = "none",
                     values: bool = False, surrogates: int = 0, surrogate_kind: str = "shuffle",
                     seed: int = DEFAULT_SEED,
                     scales: int | _Sequence[int] | None = None) -> list[Result] | _np.ndarray:
        """Every combination of series, method, scale and epoch count, in parallel.

        series   a 2-D array (one series per row) or a list of 1-D sequences,
                 of different lengths if need be
        method   one fill method or a list of them
        epochs   one epoch count or a list; the counts of one series and
                 method are trained once, to the largest, and the network is
                 tested at each count (the results are those of separate
                 runs, at about the cost of the longest)
        threads  threads to compute on (default: every core this process may
                 use); the GIL is released while they work
        progress show a progress line on standard error
        values   return the values alone, as one float64 array (see below)
        surrogates, surrogate_kind, seed, scales  as compute takes them;
                 every surrogate of every series is a run of its own

        Returns a flat list of Results ordered by series, then method, then
        scale, then epochs, each identical to what compute gives for it alone, whatever
        the number of threads. With values=True it returns their values
        instead, as a numpy array with an axis for the series, one for the
        methods when method is a list, one for the scales when scales is a
        list and one for the epoch counts when epochs is a list:
        values[s, m, e] for lists of methods and epochs, values[s] for one
        method and one epoch count (values=True does not take surrogates:
        their numbers are in the Results). Raises as compute does, before any
        work when an argument cannot be used; the message names the series
        by its index (from 0)."""
        rows = _series_list(series)
        methods = _methods(method)
        counts = _epochs(epochs)
        levels = _scales(scales)
        drawn = _surrogate_choice(surrogates, surrogate_kind, seed)
        if values and drawn[0]:
            raise TypeError("values=True returns the values alone; with surrogates, take the Results")
        show = _progress_line() if progress else None
        try:
            if not values:
                return self._run(rows, methods, counts, _rescale(rescale), _threads(threads), show, levels, drawn)
            shape = [len(rows)]
            if _is_list(method):
                shape.append(len(methods))
            if _is_list(scales):
                shape.append(len(levels))
            if _is_list(epochs):
                shape.append(len(counts))
            found = self._values(rows, methods, counts, _rescale(rescale), _threads(threads), show, levels)
            return found.reshape(shape)
        finally:
            if show:
                _sys.stderr.write("\n")

    def curve(self, x, method: int = 5, epochs: int = 100, rescale: str = "none") -> _np.ndarray:
        """The learning curve of x: a numpy array of `epochs` values, the value
        after each epoch 1, 2, ..., epochs (element i after i + 1 epochs). It
        costs about one run of `epochs` epochs plus one test (about 0.03 s) per
        epoch, and each value is the one compute gives for that epoch count."""
        series = _series(x)
        m = _methods(method)
        last = _epochs(epochs)
        if len(m) != 1 or len(last) != 1:
            raise TypeError("curve takes one method and one epoch count")
        return self._values([series], m, list(range(1, last[0] + 1)), _rescale(rescale), _threads(None), None)

    def sliding(self, x, window: int, step: int | None = None, method: int = 5, epochs: int = 100,
                rescale: str = "none", threads: int | None = None,
                progress: bool = False) -> tuple[_np.ndarray, _np.ndarray]:
        """Values of sliding windows over a long series.

        One run for each window of `window` values (5..19625) starting at
        index 0, step, 2 step, ... while the whole window fits in x; `step`
        defaults to `window` (windows side by side). x may be of any length.
        Returns two numpy arrays: the index (from 0, Python's convention) of
        each window's first value, and its value. The windows are computed in
        parallel, as compute_many computes; rescaling, when asked for, is done
        on each window's values."""
        array = _numbers(x, "x")
        if array.ndim != 1:
            raise TypeError(f"x must be 1-D (one series), got an array of shape {array.shape}")
        w = _whole_numbers(window, "window", MIN_SERIES_LENGTH, MAX_SERIES_LENGTH, one=True)[0]
        s = w if step is None else _whole_numbers(step, "step", 1, one=True)[0]
        if array.shape[0] < w:
            raise ValueError(f"x holds {array.shape[0]} values, fewer than one window of {w}")
        whole = _series_whole(array)
        starts = _np.array(_vantel.window_starts(whole.shape[0], w, s), dtype=_np.int64)
        windows = [whole[i:i + w] for i in starts]
        for i, part in zip(starts, windows):
            _series(part, f"the window at {i}")
        m = _methods(method)
        e = _epochs(epochs)
        if len(m) != 1 or len(e) != 1:
            raise TypeError("sliding takes one method and one epoch count")
        show = _progress_line() if progress else None
        try:
            found = self._values(windows, m, e, _rescale(rescale), _threads(threads), show)
        finally:
            if show:
                _sys.stderr.write("\n")
        return starts, found


def _series_whole(array: _np.ndarray) -> _np.ndarray:
    """A long 1-D array of numbers as float64, before it is cut into windows."""
    return _np.ascontiguousarray(array, dtype=_np.float64)


def _series_list(series) -> list[_np.ndarray]:
    if isinstance(series, _np.ma.MaskedArray):
        _numbers(series, "series")  # refused, saying why
    if isinstance(series, _np.ndarray):
        if series.ndim == 1 and series.dtype != object:
            raise TypeError("compute_many takes several series: a 2-D array (one series per row) or a list "
                            "of 1-D sequences; for one series use compute")
        if series.ndim == 2 and series.dtype != object:
            return [_series(row, f"series {i}") for i, row in enumerate(series)]
        if series.ndim == 2:
            raise TypeError("series must be a 2-D array of numbers or a list of 1-D sequences, got a 2-D array of "
                            "Python objects (dtype object); convert it with series.astype(float)")
        if series.ndim != 1:
            raise TypeError(f"series must be a 2-D array or a list of 1-D sequences, got {series.ndim} dimensions")
    if isinstance(series, (str, bytes)) or not isinstance(series, _Iterable):
        raise TypeError("series must be a 2-D array (one series per row) or a list of 1-D sequences")
    rows = [_series(row, f"series {i}") for i, row in enumerate(series)]
    if not rows:
        raise ValueError("series: no series given")
    return rows


def read_columns(path: str | _os.PathLike) -> Columns:
    """Reads a data file as the window and the command read it: lines of
    tab-separated columns, "." or "," as the decimal mark, the columns counted
    on the first line. Returns Columns(values, warnings): values is a 2-D
    float64 array with one row per line and one column per series (column c
    of the file is values[:, c - 1]); a field that is not a number (a header,
    "nan", an empty field) is read as 0, as the window reads it, and said in
    warnings, as are a file that seems to use another separator, lines whose
    field counts differ, lines too short to hold a column (the column takes
    the whole line there, as the window reads it) and a column in which no
    field is a number (its values are all 0: it holds no series). A field
    beyond the double range ("1e309") spoils its column alone: that column's
    values are all NaN, so that computing it is refused, and a warning names
    the file, the line, the column and "Floating point overflow".

    A decimal field is read to extended precision and then rounded to a
    double, as the window and the command read it. That rounding differs now
    and then in the last bit from numpy's (np.loadtxt, float()): 21 of the
    78500 values of the program's example file DATA/logistic_map.txt do, and
    a column read by numpy can give another W2 fingerprint than the command
    gives for it. To compute the program's numbers from a file, read it with
    read_columns.

    Raises FileNotFoundError (or another OSError) when the file cannot be
    opened, ValueError when it is not plain text (a NUL byte, UTF-16, a binary
    file)."""
    name = _os.fspath(path)
    with open(name, "rb"):
        pass  # the system's own error when the file cannot be opened
    return Columns(**_vantel.read_columns(name))


def surrogate(x, kind: str = "shuffle", seed: int = DEFAULT_SEED, index: int = 0) -> _np.ndarray:
    """Surrogate `index` (from 0) of the series x, the one that compute's
    surrogates=K (K > index) trains, and the vantel command's --surrogates.

    shuffle  a random permutation of x's values, every order equally likely
             (Fisher-Yates with xoshiro256**, its state filled from the seed
             by SplitMix64; surrogate k draws after k jumps of 2**128 draws)
    iaaft    iterative amplitude-adjusted Fourier transform: from a shuffle,
             alternately give the surrogate x's Fourier amplitudes (keeping
             its phases) and x's values by rank, until a rank step leaves the
             order unchanged or after IAAFT_ITERATIONS (1000) iterations. The
             result has exactly x's values and nearly its power spectrum.

    The same seed gives the same shuffles on every machine. An iaaft
    surrogate comes from FFTW's transforms, whose last bits can differ
    between machines and FFTW versions: it is the same on the same machine
    and library, and elsewhere almost always, but not certainly."""
    series = _series(x)
    _, kind, seed = _surrogate_choice(1, kind, seed)
    which = _whole_numbers(index, "index", 0, _vantel.max_surrogates - 1, one=True)[0]
    return _vantel.surrogate(series, kind, seed, which)


def coarse_grained(x, scale: int) -> _np.ndarray:
    """x coarse-grained at `scale`: the means of its consecutive,
    non-overlapping blocks of `scale` values, each block's values added left
    to right in float64 and the sum divided by `scale`; a last incomplete
    block is dropped. Scale 1 gives x itself, bit for bit."""
    array = _series_whole(_numbers(x, "x"))
    if array.ndim != 1:
        raise TypeError(f"x must be 1-D (one series), got an array of shape {array.shape}")
    s = _whole_numbers(scale, "scale", 1, 2**31 - 1, one=True)[0]
    return _vantel.coarse_grained(array, s)


_default: Calculator | None = None
_default_lock = _threading.Lock()


def _calculator() -> Calculator:
    global _default
    with _default_lock:
        if _default is None:
            _default = Calculator()
        return _default


def value(x, method: int = 5, epochs: int = 100, rescale: str = "none") -> float:
    return _calculator().value(x, method, epochs, rescale)


def compute(x, method: int = 5, epochs: int = 100, rescale: str = "none", surrogates: int = 0,
            surrogate_kind: str = "shuffle", seed: int = DEFAULT_SEED,
            scales: int | _Sequence[int] | None = None) -> Result | list[Result]:
    return _calculator().compute(x, method, epochs, rescale, surrogates, surrogate_kind, seed, scales)


def compute_many(series, method: int | _Sequence[int] = 5, epochs: int | _Sequence[int] = 100,
                 threads: int | None = None, progress: bool = False, rescale: str = "none",
                 values: bool = False, surrogates: int = 0, surrogate_kind: str = "shuffle",
                 seed: int = DEFAULT_SEED,
                 scales: int | _Sequence[int] | None = None) -> list[Result] | _np.ndarray:
    return _calculator().compute_many(series, method, epochs, threads, progress, rescale, values, surrogates,
                                      surrogate_kind, seed, scales)


def curve(x, method: int = 5, epochs: int = 100, rescale: str = "none") -> _np.ndarray:
    return _calculator().curve(x, method, epochs, rescale)


def sliding(x, window: int, step: int | None = None, method: int = 5, epochs: int = 100,
            rescale: str = "none", threads: int | None = None,
            progress: bool = False) -> tuple[_np.ndarray, _np.ndarray]:
    return _calculator().sliding(x, window, step, method, epochs, rescale, threads, progress)


_FIRST_USE = ("\n\nThe module-level function uses one Calculator() made on first use (the datasets\n"
              "are loaded once per process; see Calculator for where they are looked for).")
for _name in ("value", "compute", "compute_many", "curve", "sliding"):
    globals()[_name].__doc__ = _inspect.cleandoc(getattr(Calculator, _name).__doc__) + _FIRST_USE
del _name
del annotations  # bound by the __future__ import; no part of the API
