#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the starting corpus of the fuzz targets from the engine's example table.

    fuzz/make_corpus.py [engine_lines.tsv]

fuzz_line inputs: the first byte chooses the decimals (byte % 14 - 1), the rest is
calculator lines separated by "\\n". Every session of the table becomes inputs of up to
eight lines in their order (so the answer store and the series carry over), and every
distinct line also becomes an input of its own. Lines longer than 512 bytes are left out:
the fuzzer's inputs stay small, and the long-line cases belong to the ordinary tests.

fuzz_series inputs: the first byte chooses the decimal separator (0 ".", 1 ","), the rest
is a series file: pairs "(x,y)" made from the plain numbers of the table, written in each
encoding the reader knows (UTF-8 with and without a mark, UTF-16 both ways, Windows-1254)
and with each kind of line break.

Files named "found-*" are inputs that fuzzing found, kept for their new coverage; this
script leaves them alone. The ordinary tests replay those of fuzz_line through the fuzz
target's own check (fuzz/line_check.h).
"""
import os
import re
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
    if not os.path.exists(table):  # the copy kept with the tests
        table = os.path.join(ROOT, "tests", "engine", "data", "engine_lines.tsv")
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

    write = corpus_writer("fuzz_line")

    for session, rows in sessions.items():
        for k in range(0, len(rows), LINES_PER_INPUT):
            chunk = rows[k:k + LINES_PER_INPUT]
            write(f"{session}-{k // LINES_PER_INPUT + 1}",
                  decimals_byte(chunk[0][0]) + b"\n".join(line for _, line in chunk))
    for session, rows in sessions.items():
        for k, (decimals, line) in enumerate(rows):
            write(f"{session}-line{k + 1}", decimals_byte(decimals) + line)
    # Long computations that the target cancels, one after a change of the series.
    write("cancel-after-series-change",
          b"\x00DAT(7;8)+INT(X;X;0;1;99999)\nSUM()\nINT(X;X;0;1;2147483647)\nANS()")
    write.report()

    write_series_corpus(sessions)


def corpus_writer(target):
    out_dir = os.path.join(ROOT, "fuzz", "corpus", target)
    os.makedirs(out_dir, exist_ok=True)
    for name in os.listdir(out_dir):
        if not name.startswith("found-"):  # inputs found by fuzzing are kept by hand
            os.remove(os.path.join(out_dir, name))
    written = set()

    def write(name, data):
        if data in written:
            return
        written.add(data)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)

    write.report = lambda: print(f"{len(written)} inputs in {os.path.relpath(out_dir, ROOT)}")
    return write


def write_series_corpus(sessions):
    number = re.compile(r"-?(\d+\.?\d*|\.\d+)(E[-+]?\d+)?")
    numbers = []
    for rows in sessions.values():
        for _, line in rows:
            text = line.decode()
            if number.fullmatch(text) and text not in numbers:
                numbers.append(text)
    pairs = [f"({i + 1},{v})" for i, v in enumerate(numbers)]
    groups = [pairs[k:k + 6] for k in range(0, len(pairs), 6)]

    write = corpus_writer("fuzz_series")
    encodings = {
        "utf8": lambda t: t.encode("utf-8"),
        "utf8mark": lambda t: b"\xef\xbb\xbf" + t.encode("utf-8"),
        "utf16le": lambda t: b"\xff\xfe" + t.encode("utf-16-le"),
        "utf16be": lambda t: b"\xfe\xff" + t.encode("utf-16-be"),
        "cp1254": lambda t: t.encode("cp1254"),
    }
    breaks = {"crlf": "\r\n", "lf": "\n", "cr": "\r"}
    for k, group in enumerate(groups):
        name, encode = list(encodings.items())[k % len(encodings)]
        brk_name, brk = list(breaks.items())[k % len(breaks)]
        text = brk.join(group) + (" seri ölçümü" if name != "utf8" else "")
        write(f"pairs{k + 1}-{name}-{brk_name}", b"\x00" + encode(text))
        # The same pairs with "," as the decimal separator: the pair splits at its
        # first ",", so "(3,2,5)" is x = 3, y = 2.5.
        comma = brk.join(p.replace(".", ",") for p in group)
        write(f"pairs{k + 1}-{name}-{brk_name}-comma", b"\x01" + encode(comma))
    # Text around and between pairs, nested parentheses, and a pair that is refused.
    write("pairs-in-text", b"\x00" + "x: ((1,2)) sonra (3, -4.5E-3) ve (".encode())
    write("pairs-refused", b"\x00(1,2)\r\n(5)\r\n(3,4)")
    write.report()


if __name__ == "__main__":
    main()
