#!/usr/bin/python3
"""Fails when a source file includes a header of a higher layer.

The layers, lowest first: base, engine, series, batch, model, app; ui stands
on model, the command (cli) on batch (never on model, app or ui), the
window's entry point (main) on everything, the Python module (python) on
engine, series and batch."""
import os
import re
import sys

BELOW = {
    "base": set(),
    "engine": {"base"},
    "series": {"base", "engine"},
    "batch": {"base", "engine", "series"},
    "model": {"base", "engine", "series", "batch"},
    "app": {"base", "engine", "series", "batch", "model"},
    "ui": {"base", "engine", "series", "batch", "model"},
    "cli": {"base", "engine", "series", "batch"},
    "main": {"base", "engine", "series", "model", "batch", "app", "ui"},
    "python": {"base", "engine", "series", "batch"},
}

source = sys.argv[1]
wrong = []
for layer in sorted(os.listdir(source)):
    folder = os.path.join(source, layer)
    if not os.path.isdir(folder):
        continue
    allowed = BELOW.get(layer)
    if allowed is None:
        wrong.append(f"{folder}: a folder of no known layer")
        continue
    for root, _, files in os.walk(folder):
        for name in sorted(files):
            path = os.path.join(root, name)
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = re.match(r'\s*#\s*include\s+"([a-z_]+)/', line)
                    if match and match.group(1) != layer and match.group(1) not in allowed:
                        wrong.append(f"{path}:{number}: {layer} includes {match.group(1)}: {line.strip()}")
for line in wrong:
    print(line)
print(f"{len(wrong)} include(s) against the layers")
sys.exit(1 if wrong else 0)
