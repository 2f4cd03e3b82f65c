"""Shared pieces of the module's tests: the data folder and veltra-batch."""

import os
import pathlib

import pytest

DATA = pathlib.Path(__file__).resolve().parents[2] / "data"


@pytest.fixture
def iris_dat():
    return str(DATA / "iris.dat")


@pytest.fixture
def iris_csv():
    return str(DATA / "iris.csv")


@pytest.fixture
def batch():
    """The veltra-batch of the same build, as CTest names it."""
    path = os.environ.get("VELTRA_BATCH")
    if not path:
        pytest.skip("VELTRA_BATCH is not set")
    return path
