"""The package's numbers are the command's, and runs in parallel are the
runs one by one."""
import hashlib
import json
import os

import numpy as np
import pytest

import vantel
from conftest import EXAMPLE_FILE, noisy, run_command


def test_a_file_column_gives_the_commands_value_count_and_fingerprint(calculator):
    records = json.loads(run_command(EXAMPLE_FILE, "--columns", "2", "--epochs", "1,2", "--method", "3",
                                     "--format", "json"))
    columns = vantel.read_columns(EXAMPLE_FILE)
    assert columns.warnings == []
    results = calculator.compute_many([columns.values[:, 1]], method=3, epochs=[1, 2])
    assert [(r.value, r.value_text, r.correct_count, r.w2_sha256, r.n, r.method, r.epochs, r.relative_change)
            for r in results] == [(rec["value"], rec["value_text"], rec["correct_count"], rec["w2_sha256"], rec["n"],
                                   rec["method"], rec["epochs"], rec["relative_change"]) for rec in records]
    mnist = [open(os.path.join(os.environ["VANTEL_MNIST"], name), "rb").read() for name in vantel.MNIST_FILES]
    assert results[0].datasets_sha256 == hashlib.sha256(b"".join(mnist)).hexdigest()
    # The same run on its own, and W2 in the layout its fingerprint hashes.
    alone = calculator.compute(columns.values[:, 1], method=3, epochs=2)
    assert alone.w2_sha256 == records[1]["w2_sha256"]
    assert alone.w2.shape == (26, 10) and alone.tested_count == 10000
    assert hashlib.sha256(alone.w2.astype("<f8").tobytes()).hexdigest() == alone.w2_sha256


def test_many_runs_on_one_or_two_threads_come_in_order_and_equal_runs_one_by_one(calculator):
    series = [noisy(300, 1), noisy(19625, 2)[:1000], list(range(7))]
    one = calculator.compute_many(series, method=[2, 6], epochs=[2, 1], threads=1)
    order = [(s, m, e) for s in range(3) for m in (2, 6) for e in (2, 1)]
    assert [(r.n, r.method, r.epochs) for r in one] == [(len(series[s]), m, e) for s, m, e in order]
    fingerprint = [(r.value_text, r.correct_count, r.w2_sha256) for r in one]
    for threads in (2, 1024):  # 1024: more threads than runs and cores
        many = calculator.compute_many(series, method=[2, 6], epochs=[2, 1], threads=threads)
        assert fingerprint == [(r.value_text, r.correct_count, r.w2_sha256) for r in many]
    s, m, e = order[5]
    single = calculator.compute(series[s], method=m, epochs=e)
    assert (single.value_text, single.w2_sha256) == fingerprint[5][::2]
    # The values alone: an axis for the series, the methods and the epoch counts.
    values = calculator.compute_many(series, method=[2, 6], epochs=[2, 1], threads=2, values=True)
    assert values.shape == (3, 2, 2) and values[1, 0, 1] == single.value  # order[5]: series 1, method 2, 1 epoch
    assert values.ravel().tolist() == [r.value for r in one]
    # A 2-D array is a list of its rows; one method and one count give one axis.
    rows = np.vstack([noisy(50, 3), noisy(50, 4)])
    alone = [calculator.compute(row, epochs=1) for row in rows]
    assert [r.w2_sha256 for r in calculator.compute_many(rows, epochs=1)] == [r.w2_sha256 for r in alone]
    assert calculator.compute_many(rows, epochs=1, values=True).tolist() == [r.value for r in alone]


def test_a_curve_and_counts_in_any_order_give_each_counts_own_run(calculator):
    x = noisy(400, 5)
    points = calculator.curve(x, method=4, epochs=3)
    assert points.shape == (3,)
    alone = [calculator.compute(x, method=4, epochs=e) for e in (3, 1, 2)]  # the largest first
    assert list(points) == [alone[1].value, alone[2].value, alone[0].value]
    shared = calculator.compute_many([x], method=4, epochs=[3, 1, 2])
    assert [(r.epochs, r.value, r.w2_sha256) for r in shared] == [(r.epochs, r.value, r.w2_sha256) for r in alone]


@pytest.mark.parametrize("length, window, step, starts", [
    (40, 10, None, [0, 10, 20, 30]),   # side by side, the last window ending on the last value
    (40, 10, 7, [0, 7, 14, 21, 28]),   # 35..44 would not fit
    (10, 10, 3, [0]),
])
def test_sliding_windows_start_where_they_fit(calculator, length, window, step, starts):
    x = noisy(length, 6)
    found, values = calculator.sliding(x, window, step, epochs=1)
    assert found.tolist() == starts and found.dtype == np.int64
    assert values.tolist() == [calculator.value(x[i:i + window], epochs=1) for i in starts]


def test_rescaling_gives_the_commands_rescaled_values(calculator, tmp_path):
    x = noisy(60, 7) * 40 + 9
    path = tmp_path / "series.txt"
    path.write_text("".join(f"{v!r}\n" for v in x))
    assert vantel.read_columns(path).values[:, 0].tolist() == x.tolist()
    for rescale in ("minmax", "zscore"):
        record = json.loads(run_command(str(path), "--epochs", "1", "--rescale", rescale, "--format", "json"))[0]
        result = calculator.compute(x, epochs=1, rescale=rescale)
        assert (result.value_text, result.w2_sha256, result.rescale) == \
            (record["value_text"], record["w2_sha256"], rescale)
    # Rescaled by zscore, a series and its shifted multiple are one series.
    assert calculator.compute(x * 3 - 2, epochs=1, rescale="zscore").value_text == \
        calculator.compute(x, epochs=1, rescale="zscore").value_text


def test_read_columns_says_what_it_read_as_0(tmp_path):
    path = tmp_path / "recording.txt"
    path.write_text("time\tvalue\tbig\n1\t0,5\t7\n2\tnan\t1e400\n3\n4\t2.5\t8\n")
    values, warnings = vantel.read_columns(path)
    # A line short of a field gives that field its whole text, as the window reads it;
    # a field beyond the double range spoils its own column only.
    assert values[:, :2].tolist() == [[0, 0], [1, 0.5], [2, 0], [3, 3], [4, 2.5]] and np.isnan(values[:, 2]).all()
    assert warnings == [
        f"{path}: the first line has 3 fields, 1 line has fewer (at line 4)",
        f"{path} column 1: 1 of 5 values is not a number (at line 1: \"time\"), read as 0",
        f"{path} column 2: 2 of 5 values are not numbers (first at line 1: \"value\"), read as 0",
        f"{path} column 2: 1 of 5 lines has no field 2 (at line 4); the whole line was read there",
        f"{path} line 3 column 3: \"1e400\": Floating point overflow",
    ]


def test_the_namespace_holds_the_api_only():
    public = {name for name in dir(vantel) if not name.startswith("_")}
    assert public == set(vantel.__all__) - {"__version__"}
    assert repr(vantel.DatasetError) == "<class 'vantel.DatasetError'>"


def test_a_result_reads_well():
    result = vantel.compute(noisy(20, 8), epochs=1)
    assert result.version == vantel.__version__
    assert (result.start, result.window, result.rescale, result.warnings) == (0, None, "none", [])
    assert repr(result).startswith(f"Result(value={result.value_text}, method=5, epochs=1, n=20, ")


def _shuffled(x, seed, index):
    """x shuffled as the README writes the algorithm out, drawn here in Python's integers: SplitMix64 fills
    xoshiro256**, jumped `index` times; Fisher-Yates from the last place, draws below 2**64 mod i drawn again."""
    mask, state, s = 2**64 - 1, seed, []
    for _ in range(4):
        state = (state + 0x9E3779B97F4A7C15) & mask
        z = ((state ^ (state >> 30)) * 0xBF58476D1CE4E5B9) & mask
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & mask
        s.append(z ^ (z >> 31))

    def rotl(v, k):
        return ((v << k) | (v >> (64 - k))) & mask

    def draw():
        result, t = (rotl((s[1] * 5) & mask, 7) * 9) & mask, (s[1] << 17) & mask
        s[2] ^= s[0]; s[3] ^= s[1]; s[1] ^= s[2]; s[0] ^= s[3]; s[2] ^= t; s[3] = rotl(s[3], 45)  # noqa: E702
        return result

    for _ in range(index):
        jumped = [0] * 4
        for bit in range(256):
            if (0x39ABDC4529B1661CA9582618E03FC9AAD5A61266F0C9392C180EC6D33CFD0ABA >> bit) & 1:
                jumped = [a ^ b for a, b in zip(jumped, s)]
            draw()
        s[:] = jumped
    values = list(x)
    for i in range(len(values), 1, -1):
        while (r := draw()) < 2**64 % i:
            pass
        values[i - 1], values[r % i] = values[r % i], values[i - 1]
    return values


def _written(tmp_path, x):
    """x in a data file, and x as the command reads it back."""
    path = tmp_path / "series.txt"
    path.write_text("".join(f"{v!r}\n" for v in x))
    return str(path), vantel.read_columns(path).values[:, 0]


@pytest.mark.parametrize("kind, seed, rescale", [("shuffle", 1, "none"), ("shuffle", 2**64 - 1, "zscore"),
                                                 ("iaaft", 7, "zscore")])
def test_the_same_seed_gives_the_same_surrogates_in_the_command_and_the_module(calculator, tmp_path, kind, seed,
                                                                                rescale):
    path, x = _written(tmp_path, noisy(300, 8))
    records = json.loads(run_command(path, "--epochs", "2,1", "--surrogates", "3", "--surrogate-kind", kind,
                                     "--seed", str(seed), "--rescale", rescale, "--format", "json"))
    results = calculator.compute_many([x], epochs=[2, 1], surrogates=3, surrogate_kind=kind, seed=seed,
                                      rescale=rescale)
    fields = ("value", "surrogate_mean", "surrogate_sd", "z_score", "p_value", "surrogate_kind", "seed")
    for r, record in zip(results, records):
        assert r.surrogate_values.tolist() == record["surrogate_values"] and len(set(record["surrogate_values"])) > 1
        assert tuple(getattr(r, f) for f in fields) == tuple(record[f] for f in fields)
    # Surrogate 2 on its own: the series' values in another order, trained as a series at each count.
    made = vantel.surrogate(x, kind, seed, 2)
    assert sorted(made) == sorted(x) and not np.array_equal(made, x)
    assert kind != "shuffle" or made.tolist() == _shuffled(x, seed, 2)  # any compiler, any version
    alone = calculator.compute_many([made], epochs=[2, 1], rescale=rescale, values=True)[0]
    assert alone.tolist() == [r.surrogate_values[2] for r in results]


def test_scale_1_is_the_plain_run_and_scale_2_a_run_on_the_series_coarse_grained_by_hand(calculator, tmp_path):
    path, x = _written(tmp_path, noisy(301, 9))
    # Rescaled after coarse-graining: the coarse series' own range is mapped onto [0, 1].
    plain = json.loads(run_command(path, "--epochs", "1", "--rescale", "minmax", "--format", "json"))[0]
    scaled = json.loads(run_command(path, "--epochs", "1", "--scales", "1,2", "--rescale", "minmax",
                                    "--format", "json"))
    assert [(r["scale"], r["n"]) for r in scaled] == [(1, 301), (2, 301)]
    assert (scaled[0]["value"], scaled[0]["w2_sha256"]) == (plain["value"], plain["w2_sha256"])
    by_hand = (x[0:300:2] + x[1:300:2]) / 2  # the last value, a block of one, dropped
    alone = calculator.compute(by_hand, epochs=1, surrogates=2, rescale="minmax")
    assert (scaled[1]["value"], scaled[1]["w2_sha256"]) == (alone.value, alone.w2_sha256)
    both = calculator.compute(x, epochs=1, scales=[1, 2], surrogates=2, rescale="minmax")
    assert [(r.scale, r.n) for r in both] == [(1, 301), (2, 301)] and both[0].w2_sha256 == plain["w2_sha256"]
    assert (both[1].w2_sha256, both[1].surrogate_values.tolist()) == (alone.w2_sha256, alone.surrogate_values.tolist())
    # Series, methods and scales together: each place holds its own run.
    other = noisy(40, 10)
    grid = calculator.compute_many([x[:40], other], method=[5, 2], scales=[1, 2], epochs=1)
    assert [(r.method, r.scale) for r in grid[:4]] == [(5, 1), (5, 2), (2, 1), (2, 2)]
    assert grid[7].w2_sha256 == calculator.compute((other[0::2] + other[1::2]) / 2, method=2, epochs=1).w2_sha256
    assert grid[2].w2_sha256 == calculator.compute(x[:40], method=2, epochs=1).w2_sha256
