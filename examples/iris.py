"""Trains a 4 x 4 map on the iris flowers and saves a picture of it.

    PYTHONPATH=build/release/python python3 examples/iris.py [PICTURE]

Left: how many flowers each prototype wins, with the species most of them
belong to. Right: each prototype's mean distance to its neighbours on the
grid; light cells lie inside a cluster, dark ones on the borders between
clusters. PICTURE defaults to iris_map.png in the current folder.
"""

import collections
import pathlib
import sys

import matplotlib.pyplot as plt

import veltra

DATA = pathlib.Path(__file__).resolve().parent.parent / "data" / "iris.csv"
ROWS, COLS = 4, 4


def train():
    session = veltra.Session(clock=1000000000)
    session.import_table(str(DATA), scale="zscore")
    session.map_size(ROWS, COLS)
    session.pick_datapoints(40)
    session.converge()
    session.pairwise_exchange(200)
    # Wide neighbourhoods first order the map, the winners alone then fit it.
    for epochs, order, rate, factor in [(30, 2, 0.1, 0.5), (30, 1, 0.05, 0.3), (50, 0, 0.02, 0)]:
        reports = session.train(epochs, order, rate, factor)
    last = reports[-1]
    print(f"{last.epochs} epochs: heterogeneity {last.heterogeneity:.4f}, "
          f"simplicity {last.simplicity:.4f}, violations {last.violations:.2f} %")
    return session


def main():
    picture = sys.argv[1] if len(sys.argv) > 1 else "iris_map.png"
    session = train()
    hits = session.hits()
    winners = session.recall_assignment(1, 1)
    species = collections.defaultdict(collections.Counter)
    for label, prototype in zip(session.labels, winners):
        species[prototype][label] += 1

    figure, (left, right) = plt.subplots(1, 2, figsize=(10, 4.6))
    shown = left.imshow(hits, cmap="Blues")
    figure.colorbar(shown, ax=left, label="flowers won")
    for p in range(session.nprotos):
        r, c = divmod(p, COLS)
        name = species[p].most_common(1)[0][0] if species[p] else ""
        colour = "white" if hits[r, c] > hits.max() / 2 else "black"
        left.text(c, r, f"{hits[r, c]}\n{name}", ha="center", va="center", color=colour, fontsize=9)
    left.set_title("Hit map")

    shown = right.imshow(session.umatrix(), cmap="gray_r")
    figure.colorbar(shown, ax=right, label="mean distance to neighbours (z-scores)")
    right.set_title("U-matrix")
    for axes in (left, right):
        axes.set_xticks(range(COLS))
        axes.set_yticks(range(ROWS))
        axes.set_xlabel("column")
        axes.set_ylabel("row")
    figure.suptitle(f"Iris flowers on a {ROWS} x {COLS} map")
    figure.tight_layout()
    figure.savefig(picture, dpi=100)
    print("saved", picture)


if __name__ == "__main__":
    main()
