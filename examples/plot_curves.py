#!/usr/bin/env python3
"""Reads the curve files of a dynamics run and plots (or prints) the curves.

    python3 examples/plot_curves.py deck            displacements of every curve node
    python3 examples/plot_curves.py deck --energy   kinetic, strain and total energy

`deck` is the deck's path without its extension. The layouts are in
docs/file-formats.md ("Dynamics curve files"). Only the standard library is needed;
with matplotlib installed the curves are plotted, otherwise printed as columns.
"""
import struct
import sys


def read_displacements(path):
    raw = open(path, "rb").read()
    n, k = struct.unpack_from("=2i", raw, 0)
    nodes = struct.unpack_from(f"={n}i", raw, 8)
    width = 1 + n * k
    count = (len(raw) - 8 - 4 * n) // (8 * width)
    values = struct.unpack_from(f"={count * width}d", raw, 8 + 4 * n)
    rows = [values[r * width:(r + 1) * width] for r in range(count)]
    names = [f"node {node} dof {j + 1}" for node in nodes for j in range(k)]
    return names, rows


def read_energy(path):
    raw = open(path, "rb").read()
    count = len(raw) // 32
    values = struct.unpack_from(f"={4 * count}d", raw, 0)
    return ["kinetic", "strain", "total"], [values[4 * r:4 * r + 4] for r in range(count)]


def main():
    stem = sys.argv[1]
    names, rows = read_energy(stem + ".p15") if "--energy" in sys.argv else read_displacements(stem + ".p11")
    try:
        import matplotlib.pyplot as plt
    except ImportError:
        print("time | " + " | ".join(names))
        for row in rows:
            print(" ".join(f"{x:14.6e}" for x in row))
        return
    time = [row[0] for row in rows]
    for j, name in enumerate(names):
        plt.plot(time, [row[j + 1] for row in rows], label=name)
    plt.xlabel("time")
    plt.legend()
    plt.show()


if __name__ == "__main__":
    main()
