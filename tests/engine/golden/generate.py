#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the golden corpus: random calculator lines and the lines zentu-cli writes for
them. The random generator starts from a fixed state, so the inputs are the same on every
run; the outputs recorded with them guard the engine's results while it is optimised.

    tests/engine/golden/generate.py build/bin/zentu-cli

rewrites lines.txt, expected.txt and boxes.txt (and the same with decimals 4, *_d4.txt).
Regenerate only when a change of results is intended, and review the diff."""
import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

NUMERIC = ["SIN", "COS", "TAN", "COT", "ASIN", "ACOS", "ATAN", "SINH", "COSH", "TANH", "SECH",
           "CSCH", "SINC", "EXP", "LN", "LOG", "SQRT", "SQR", "ABS", "SIGN", "TRNC", "RND",
           "FLOR", "CEIL"]
LISTS = ["PER", "COM", "PWR", "DIV", "MOD"]
STATS = ["SUM", "DAVG", "DVAR", "DSTD", "DGEO", "DHAR", "DQUA", "DSEE", "DSRT"]
CONSTANTS = ["PI", "_MP", "_ME", "_MN", "_EC", "_PI", "_AUR", "_AMU", "_EUL", "_AVGD", "_CLMB",
             "_FRDY", "_PLNC", "_RYDB", "_E", "_C", "_G", "_R", "_M"]


def number(r):
    kind = r.random()
    if kind < 0.35:
        return str(r.randint(0, 99))
    if kind < 0.6:
        return "%d.%s" % (r.randint(0, 999), "".join(r.choice("0123456789") for _ in range(r.randint(1, 14))))
    if kind < 0.7:
        return "%dE%s%d" % (r.randint(1, 9), r.choice(["", "-", "+"]), r.randint(0, 45))
    if kind < 0.8:
        return "." + str(r.randint(0, 99999))
    if kind < 0.9:
        return str(r.randint(0, 10 ** r.randint(10, 25)))
    return r.choice(["0", "1", "2", "0.5", "1E-13", "6E-13", "1E9999", "1.5.2", "5E", "3."])


def expr(r, depth, var=None):
    if depth <= 0 or r.random() < 0.25:
        if var and r.random() < 0.4:
            return var
        return r.choice([number(r), number(r), r.choice(CONSTANTS), "ANS()"])
    kind = r.random()
    a = expr(r, depth - 1, var)
    if kind < 0.35:
        return a + r.choice(["+", "-", "*", "/", "*-", "--", "^", "+-"]) + expr(r, depth - 1, var)
    if kind < 0.5:
        return "(" + a + ")" + r.choice(["", "", "!", "^2", "^-1", "(2)"])
    if kind < 0.7:
        return r.choice(NUMERIC) + "(" + a + ")"
    if kind < 0.8 and not var:
        return r.choice(LISTS) + "(" + a + ";" + expr(r, depth - 1) + ")"
    if kind < 0.86:
        return r.choice(STATS) + "()"
    if kind < 0.9:
        return a + "!"
    if kind < 0.94 and not var:
        v = r.choice("XT")
        return "INT(%s;%s;%s;%s;%d)" % (expr(r, 2, v), v, number(r), number(r), r.randint(-1, 12))
    if kind < 0.96 and not var:
        v = r.choice("XT")
        return "DIF(%s;%s;%s;%d)" % (expr(r, 2, v), v, number(r), r.randint(0, 50))
    return a + r.choice(["X", ",", "=", " ", "(", ")", "Q", "_", ";"]) + expr(r, depth - 1, var)


def line(r):
    if r.random() < 0.08:
        return "DAT(" + ";".join(expr(r, 2) for _ in range(r.randint(0, 8))) + ")"
    text = expr(r, r.randint(1, 5))
    if r.random() < 0.3:
        text = text.lower()
    if r.random() < 0.1:
        text = text.replace("+", " + ")
    return text


def record(cli, lines, decimals, suffix):
    data = "".join(l + "\n" for l in lines).encode()
    done = subprocess.run([cli, "--decimals", str(decimals), "--decimal-separator", "."], input=data,
                          capture_output=True, check=True)
    for name, content in (("lines", data), ("expected", done.stdout), ("boxes", done.stderr)):
        with open(os.path.join(HERE, name + suffix + ".txt"), "wb") as f:
            f.write(content)


def main():
    cli = sys.argv[1]
    r = random.Random(20261209)
    record(cli, [line(r) for _ in range(10000)], -1, "")
    record(cli, [line(r) for _ in range(2000)], 4, "_d4")


if __name__ == "__main__":
    main()
