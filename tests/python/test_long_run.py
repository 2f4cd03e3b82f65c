"""A long training run: other threads run meanwhile, and Ctrl+C stops it
between epochs with the epochs done kept."""

import os
import signal
import threading
import time

import numpy as np
import pytest

import veltra


@pytest.fixture
def long_session():
    s = veltra.Session(clock=7)
    s.set_data(np.random.default_rng(1).random((20000, 16)))
    s.map_size(6, 6)
    s.random_weights(1, 0)
    return s


def test_training_releases_the_gil_and_refuses_a_second_command(long_session):
    worker = threading.Thread(target=long_session.train, args=(100, 2, 0.05, 0.5))
    ticks = 0
    worker.start()
    time.sleep(0.05)
    with pytest.raises(RuntimeError, match="running a command"):
        long_session.prototypes
    while worker.is_alive():
        ticks += 1
        time.sleep(0.001)
    worker.join()
    assert ticks > 20
    assert long_session.measures.epochs == 100


def test_ctrl_c_stops_training_between_epochs(long_session):
    seen = []
    timer = threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT))
    timer.start()
    started = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        long_session.train(999, 2, 0.05, 0.5, on_epoch=seen.append)
    timer.join()
    assert time.monotonic() - started < 10
    done = long_session.measures.epochs
    assert 1 <= done < 999 and [r.epochs for r in seen] == list(range(1, done + 1))
    # The epochs done stay: the session goes on from there.
    assert long_session.train(1, 0, 0.01, 0)[0].epochs == done + 1
    assert long_session.recall_frequency(1, 1).sum() == 20000


def test_an_exception_in_the_callback_stops_training_after_that_epoch(long_session):
    def stop_at_3(report):
        if report.epochs == 3:
            raise ArithmeticError("enough")

    with pytest.raises(ArithmeticError, match="enough"):
        long_session.train(50, 1, 0.05, 0.5, on_epoch=stop_at_3)
    assert long_session.measures.epochs == 3
