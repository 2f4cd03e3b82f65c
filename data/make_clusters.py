#!/usr/bin/env python3
"""Writes clusters.dat: 600 datavectors of 3 variables from six Gaussian clusters.

Datavector i (counted from 0) belongs to cluster i mod 6, so a recall with a cycle
length of 6 and start number k selects exactly cluster k - 1. The clusters sit at the
six vertices of an octahedron of radius 5 with a standard deviation of 1 in every
variable. A fixed seed makes the file the same on every run.

Usage: make_clusters.py [OUTPUT]   (default: clusters.dat beside this script)
"""

import pathlib
import random
import sys

SEED = 1936
PER_CLUSTER = 100
RADIUS = 5.0
SIGMA = 1.0
CENTRES = [
    (RADIUS, 0.0, 0.0),
    (-RADIUS, 0.0, 0.0),
    (0.0, RADIUS, 0.0),
    (0.0, -RADIUS, 0.0),
    (0.0, 0.0, RADIUS),
    (0.0, 0.0, -RADIUS),
]


def datavectors():
    rng = random.Random(SEED)
    for i in range(PER_CLUSTER * len(CENTRES)):
        centre = CENTRES[i % len(CENTRES)]
        yield [rng.gauss(c, SIGMA) for c in centre]


def main():
    default = pathlib.Path(__file__).with_name("clusters.dat")
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    with open(output, "w", newline="\n") as f:
        for vector in datavectors():
            f.write(" ".join(f"{value:.4f}" for value in vector) + "\n")


if __name__ == "__main__":
    main()
