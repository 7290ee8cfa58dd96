#!/usr/bin/env python3
"""Writes the starting corpus of the fuzz targets from the engine's example table.

    fuzz/make_corpus.py [engine_lines.tsv]

fuzz_line inputs: the first byte chooses the decimals (byte % 14 - 1), the rest is
calculator lines separated by "\\n". Every session of the table becomes inputs of up to
eight lines in their order (so the answer store and the series carry over), and every
distinct line also becomes an input of its own. Lines longer than 512 bytes are left out:
the fuzzer's inputs stay small, and the long-line cases belong to the ordinary tests.
"""
import os
import sys
from collections import OrderedDict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX_LINE = 512
LINES_PER_INPUT = 8


def unescape(s):
    out, i = [], 0
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s) and s[i + 1] in "t\\":
            out.append("\t" if s[i + 1] == "t" else "\\")
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)


def decimals_byte(d):
    return bytes([(d + 1) % 14])


def main():
    table = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        ROOT, "..", "shared", "examples", "engine_lines.tsv")
    sessions = OrderedDict()
    for raw in open(table, encoding="utf-8"):
        raw = raw.rstrip("\n")
        if not raw or raw.startswith("#"):
            continue
        cols = raw.split("\t")
        session, decimals, line = cols[0], int(cols[1]), unescape(cols[2])
        if len(line.encode()) > MAX_LINE:
            continue
        sessions.setdefault(session, []).append((decimals, line.encode()))

    out_dir = os.path.join(ROOT, "fuzz", "corpus", "fuzz_line")
    os.makedirs(out_dir, exist_ok=True)
    for name in os.listdir(out_dir):
        os.remove(os.path.join(out_dir, name))

    written = set()

    def write(name, data):
        if data in written:
            return
        written.add(data)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)

    for session, rows in sessions.items():
        for k in range(0, len(rows), LINES_PER_INPUT):
            chunk = rows[k:k + LINES_PER_INPUT]
            write(f"{session}-{k // LINES_PER_INPUT + 1}",
                  decimals_byte(chunk[0][0]) + b"\n".join(line for _, line in chunk))
    for session, rows in sessions.items():
        for k, (decimals, line) in enumerate(rows):
            write(f"{session}-line{k + 1}", decimals_byte(decimals) + line)
    print(f"{len(written)} inputs in {os.path.relpath(out_dir, ROOT)}")


if __name__ == "__main__":
    main()
