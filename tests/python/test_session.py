"""The road through the commands, the results handed out and the errors."""

import resource
import subprocess
import sys

import numpy as np
import pytest

import veltra


def trained(iris_dat):
    s = veltra.Session(clock=1000000000)
    s.import_datavectors(iris_dat, 150, 4)
    s.map_size(2, 3)
    s.pick_datapoints(5)
    s.train(5, 1, 0.05, 0.1)
    return s


def test_results_are_copies_with_the_shapes_of_the_map(iris_dat):
    s = trained(iris_dat)
    assert (s.ndata, s.nvars, s.rows, s.cols, s.nprotos) == (150, 4, 2, 3, 6)
    assert s.names == ["V1", "V2", "V3", "V4"] and s.labels == []
    assert s.data.shape == (150, 4) and s.data[0].tolist() == [5.1, 3.5, 1.4, 0.2]
    assert s.incidence.shape == (6, 6) and s.incidence[0].tolist() == [0, 1, 2, 1, 1, 2]
    assert s.measures.epochs == 5 and s.measures.iterations == 750

    before = s.prototypes
    before[0, 0] = 99.0
    assert s.prototypes[0, 0] != 99.0
    kept = s.prototypes.copy()
    taken = s.prototypes
    s.train(3, 0, 0.5, 0)
    assert (taken == kept).all() and not (s.prototypes == kept).all()

    counts = s.recall_frequency(1, 1)
    assert counts.sum() == 150 and (s.win_counts == counts).all()
    winners = s.recall_assignment(1, 2)
    assert winners.shape == (75,) and (winners == s.winners[::2]).all()
    assert s.violation_counts.shape == (6,)
    p = s.sammon()
    assert p.x.shape == (6,) and (p.x == s.projection_x).all() and (p.y == s.projection_y).all()
    assert len(s.show_map().splitlines()) == 6

    assert (s.hits() == counts.reshape(2, 3)).all()
    protos, near = s.prototypes, s.incidence == 1
    dist = np.sqrt(((protos[:, None, :] - protos[None, :, :]) ** 2).sum(axis=2))
    expected = [dist[p, near[p]].mean() for p in range(6)]
    assert np.allclose(s.umatrix().ravel(), expected, rtol=1e-14, atol=0)


def test_set_data_and_tables_keep_names_and_labels(tmp_path, iris_csv):
    s = veltra.Session(clock=5)
    s.import_table(iris_csv, delimiter="comma", header=True, skip=["sepal_width"], scale="range")
    assert s.names == ["sepal_length", "petal_length", "petal_width"] and s.labels[0] == "setosa"
    values = [[0.0, 1.0], [1.0, 0.0], [0.5, 0.5], [0.2, 0.9]]
    s.set_data(values, names=["x", "y"], labels="abcd")
    assert s.names == ["x", "y"] and s.labels == list("abcd") and s.data.tolist() == values
    s.map_size(1, 2)
    s.random_weights(1, 0)
    s.export_table("prototypes", tmp_path / "p.csv")  # any path-like
    assert (tmp_path / "p.csv").read_text().splitlines()[0].endswith("x,y")


@pytest.mark.parametrize("call, error, text", [
    (lambda s, d: s.train(5, 1, 0.1, 0.1), RuntimeError,
     "train is not available now: import datavectors (import_datavectors), size the map (map_size)"),
    (lambda s, d: s.import_datavectors("/no/such/file", 10, 2), OSError, "Can not import data!"),
    (lambda s, d: s.import_datavectors(d, 100000, 4), ValueError,
     "# of datavectors must be in the range [1,32767]!"),
    (lambda s, d: s.import_table(d, delimiter="pipe"), ValueError,
     "Delimiter must be auto, comma, semicolon, tab or blanks!"),
    (lambda s, d: s.import_table(d, colour="red"), TypeError, 'unknown setting "colour=red"'),
    (lambda s, d: s.set_data(np.ones((3, 40000))), ValueError, "# of variables must be in the range"),
    (lambda s, d: s.set_data([[1.0, np.nan]]), ValueError, "Datavectors must be finite numbers!"),
    (lambda s, d: s.set_data([[1.0, 2.0]], names=["a"]), ValueError, "# of names must equal"),
    (lambda s, d: s.set_data([1.0, 2.0]), ValueError, "2-D"),
])
def test_errors_on_a_fresh_session(iris_dat, call, error, text):
    with pytest.raises(error) as raised:
        call(veltra.Session(), iris_dat)
    assert text in str(raised.value)


@pytest.mark.parametrize("call, error, text", [
    (lambda s, p: s.map_size(0, 3), ValueError, "range"),
    (lambda s, p: s.train(1000, 1, 0.1, 0.1), ValueError, "# of epochs must be in the range [1,999]!"),
    (lambda s, p: s.train(5, 1, float("nan"), 0.1), ValueError, "rate must be a finite number"),
    (lambda s, p: s.random_weights(1.0, 0.123456789012345), ValueError, "longer than the field's 12"),
    (lambda s, p: s.import_prototypes(p), OSError, "Can not import weights!"),
    (lambda s, p: s.export_prototypes("/no/such/folder/a.wgt"), OSError, "Can not write prototypes!"),
    (lambda s, p: s.export_table("weights", p), ValueError, "Table must be prototypes"),
])
def test_a_refused_command_leaves_the_workspace_as_it_was(iris_dat, tmp_path, call, error, text):
    s = trained(iris_dat)
    before = (s.prototypes, s.data, s.measures.epochs)
    bad = tmp_path / "bad.wgt"
    bad.write_text("1 2 x\n")
    with pytest.raises(error) as raised:
        call(s, str(bad))
    assert text in str(raised.value)
    assert (s.prototypes == before[0]).all() and (s.data == before[1]).all()
    assert s.measures.epochs == before[2]


def test_memory_running_out_is_a_memory_error(iris_dat):
    program = ("import veltra\n"
               "try:\n    veltra.Session().import_datavectors(%r, 32767, 32767)\n"
               "except MemoryError as e:\n    print('MemoryError', e)\n" % iris_dat)
    limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))  # noqa: E731
    run = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True,
                         preexec_fn=limit, check=True)
    assert run.stdout == "MemoryError Can not allocate memory! Close other applications.\n"


def test_every_method_has_a_docstring():
    for name, member in vars(veltra.Session).items():
        if not name.startswith("_"):
            assert member.__doc__, name
