#!/usr/bin/python3
"""Every column of a data file, read with the program's own readers, and the
value of each (its first 19625 values, as the window and the command take
them).

    PYTHONPATH=build/python /usr/bin/python3 examples/file_columns.py build/bin/DATA/logistic_map.txt
"""
import argparse

import vantel


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("file")
    parser.add_argument("--epochs", type=int, default=100)
    parser.add_argument("--method", type=int, default=5)
    args = parser.parse_args()

    values, warnings = vantel.read_columns(args.file)
    for warning in warnings:
        print("warning:", warning)
    columns = [values[:vantel.MAX_SERIES_LENGTH, c] for c in range(values.shape[1])]
    results = vantel.compute_many(columns, method=args.method, epochs=args.epochs)
    print("column\tvalue\tn")
    for c, result in enumerate(results, 1):
        print(f"{c}\t{result.value_text}\t{result.n}")


if __name__ == "__main__":
    main()
