#!/usr/bin/python3
"""Writes the seed corpus of fuzz_mnist: one input per kind of damage.

Each seed is encoded as FuzzedDataProvider decodes it in fuzz_mnist.cpp:
strings are taken from the front (a backslash and another character end
one), numbers from the end (the first byte taken is the most significant).
    tests/fuzz/make_mnist_corpus.py tests/fuzz/corpus/mnist
"""
import os
import sys

SHAPES = ["missing", "folder", "short_file", "near_full", "any_size", "changed_field"]
FILES = [  # name, header bytes, record bytes, count
    ("train-images", 16, 784, 60000),
    ("train-labels", 8, 1, 60000),
    ("t10k-images", 16, 784, 10000),
    ("t10k-labels", 8, 1, 10000),
]


class Encoder:
    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order the numbers are taken

    def string(self, data):
        self.front += data.replace(b"\\", b"\\\\") + b"\\e"

    def integral(self, value, low, high, size):
        span = high - low
        count = 0
        while count < size and span >> (8 * count) > 0:
            count += 1
        raw = value - low
        assert 0 <= raw <= span
        self.back += raw.to_bytes(count, "big") if count else b""

    def data(self, rest=b""):
        return bytes(self.front + rest + self.back[::-1])


def header(index, changes=None):
    name, head, _, count = FILES[index]
    fields = [2051 if "images" in name else 2049, count] + ([28, 28] if head == 16 else [])
    for field, value in (changes or {}).items():
        fields[field] = value
    return b"".join(v.to_bytes(4, "big") for v in fields)


def seed(files, t_pattern=None):
    """files: four dicts with shape and, as the shape needs them, head, tail,
    delta (near_full), size (any_size), field and value (changed_field)."""
    e = Encoder()
    for index, f in enumerate(files):
        _, head, record, count = FILES[index]
        full = head + record * count
        e.integral(SHAPES.index(f["shape"]), 0, len(SHAPES) - 1, 4)
        e.string(f.get("head", b""))
        e.string(f.get("tail", b""))
        if f["shape"] == "near_full":
            e.integral(f.get("delta", 0), -2 * record, record, 8)
        elif f["shape"] == "any_size":
            e.integral(f["size"], 0, full + record, 8)
        elif f["shape"] == "changed_field":
            e.integral(f["field"], 0, head // 4 - 1, 4)
            e.integral(f["value"], 0, 2**32 - 1, 4)
    e.integral(1 if t_pattern is not None else 0, 0, 255, 1)
    return e.data(t_pattern or b"")


def sound(**change):
    files = [{"shape": "near_full"} for _ in FILES]
    for index, f in change.items():
        files[int(index[1:])] = f
    return files


PATTERN = b"3\r\n1 1\r\n1 2\r\n28 28\r\n"

SEEDS = {
    "all_missing": seed([{"shape": "missing"}] * 4),
    "complete_no_pattern": seed(sound()),
    "complete_with_pattern": seed(sound(f1={"shape": "near_full", "head": b"\x05\x00\x04\x01"}), PATTERN),
    "images_one_byte_short": seed(sound(f0={"shape": "near_full", "delta": -1})),
    "test_images_one_record_short": seed(sound(f2={"shape": "near_full", "delta": -784})),
    "labels_one_byte_long": seed(sound(f1={"shape": "near_full", "delta": 1})),
    "labels_cut_inside_header": seed(sound(f3={"shape": "any_size", "head": header(3)[:5], "size": 5})),
    "label_out_of_range": seed(sound(f1={"shape": "near_full", "head": b"\x05\x0a"})),
    "label_in_the_tail": seed(sound(f3={"shape": "near_full", "tail": b"\x03\x0c"})),
    "short_images": seed(sound(f0={"shape": "short_file", "head": header(0) + b"\x10" * 40})),
    "test_images_folder": seed(sound(f2={"shape": "folder"})),
    "odd_size_test_images": seed(sound(f2={"shape": "any_size", "head": header(2), "size": 7840017})),
    "raw_published_header": seed(sound(f1={"shape": "any_size", "head": header(1) + b"\x09", "size": 60008})),
    "raw_little_endian_magic": seed(sound(f0={"shape": "any_size", "head": b"\x03\x08\x00\x00", "size": 47040016})),
    "magic_of_labels_in_train_images": seed(sound(f0={"shape": "changed_field", "field": 0, "value": 2049})),
    "magic_of_images_in_train_labels": seed(sound(f1={"shape": "changed_field", "field": 0, "value": 2051})),
    "other_magic_in_test_images": seed(sound(f2={"shape": "changed_field", "field": 0, "value": 0})),
    "other_magic_in_test_labels": seed(sound(f3={"shape": "changed_field", "field": 0, "value": 2050})),
    "training_count_in_test_images": seed(sound(f2={"shape": "changed_field", "field": 1, "value": 60000})),
    "count_one_less_in_train_labels": seed(sound(f1={"shape": "changed_field", "field": 1, "value": 59999})),
    "rows_27_in_train_images": seed(sound(f0={"shape": "changed_field", "field": 2, "value": 27})),
    "columns_32_in_test_images": seed(sound(f2={"shape": "changed_field", "field": 3, "value": 32})),
    "t_pattern_not_a_number": seed(sound(), b"784\r\n1 1\r\n3x 5\r\n"),
    "t_pattern_more_lines_than_announced": seed(sound(), b"1\r\n1 1\r\n2 2\r\n"),
}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
