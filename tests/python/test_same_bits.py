"""One session through the module and through veltra-batch --time: the same
measures and the same files, byte for byte."""

import subprocess

import veltra

TIME = 1000000000


def g(x):
    return "%.17g" % x


def events(command, result):
    """The lines veltra-batch prints for a command, rebuilt from the module's result."""
    if command == "show-map":
        return ["incidence\t" + line for line in result.splitlines()]
    if command == "pick-datapoints":
        return ["trial\t%d\t%s" % (n, g(h)) for n, h in result]
    if command == "converge":
        return ["fixpoint\t" + g(h) for h in result]
    if command == "pairwise-exchange":
        return ["pairwise\t%d\t%d\t%s" % (result.total, result.successful, g(result.simplicity))]
    if command == "train":
        return ["epoch\t%d\t%d\t%s\t%s\t%s\t%s\t%s" % (
            r.epochs, r.iterations, g(r.heterogeneity), g(r.simplicity), g(r.combined),
            g(r.violations), ",".join(str(p) for p in r.inactive_prototypes)) for r in result]
    if command == "hits":
        return ["hits\t%d\t%d" % (p + 1, c) for p, c in enumerate(result.ravel())]
    if command == "umatrix":
        return ["umatrix\t%d\t%s" % (p + 1, g(v)) for p, v in enumerate(result.ravel())]
    if command == "sammon":
        return ["sammon\t" + g(result.stress)] + [
            "point\t%d\t%s\t%s" % (p + 1, g(x), g(y)) for p, (x, y) in
            enumerate(zip(result.x, result.y))]
    return []


def steps(data, out):
    """(script line, call on the session) for every command of two sessions' road."""
    f = lambda name: str(out / name)  # noqa: E731
    first = [
        ('import-datavectors "%s" 150 4' % data["dat"], lambda s: s.import_datavectors(data["dat"], 150, 4)),
        ("map-size 3 3", lambda s: s.map_size(3, 3)),
        ("show-map", lambda s: s.show_map()),
        ("pick-datapoints 20", lambda s: s.pick_datapoints(20)),
        ("pick-datapoints 7", lambda s: s.pick_datapoints(7)),
        ("converge", lambda s: s.converge()),
        ("pairwise-exchange 200", lambda s: s.pairwise_exchange(200)),
        ("train 20 1 0.05 0.01", lambda s: s.train(20, 1, 0.05, 0.01)),
        ("train 30 0 %r 0" % 0.1, lambda s: s.train(30, 0, 0.1, 0)),
        ('export-prototypes "%s"' % f("a.wgt"), lambda s: s.export_prototypes(f("a.wgt"))),
        ('export-violations "%s"' % f("a.vio"), lambda s: s.export_violations(f("a.vio"))),
        ('export-mean-values "%s"' % f("a.avg"), lambda s: s.export_mean_values(f("a.avg"))),
        ('recall-frequency "%s" 1 1' % f("a.frq"), lambda s: s.recall_frequency(1, 1, f("a.frq"))),
        ('recall-assignment "%s" 2 3' % f("a.lst"), lambda s: s.recall_assignment(2, 3, f("a.lst"))),
        ("sammon", lambda s: s.sammon()),
        ("sammon", lambda s: s.sammon()),
        ("hits", lambda s: s.hits()),
        ("umatrix", lambda s: s.umatrix()),
    ]
    second = [
        ('import-table "%s" scale=zscore' % data["csv"], lambda s: s.import_table(data["csv"], scale="zscore")),
        ("map-size 2 3", lambda s: s.map_size(2, 3)),
        ("random-weights 2.5 -1.25", lambda s: s.random_weights(2.5, -1.25)),
        ("train 10 2 0.2 0.5", lambda s: s.train(10, 2, 0.2, 0.5)),
        ('export-table prototypes "%s"' % f("b_prototypes.csv"),
         lambda s: s.export_table("prototypes", f("b_prototypes.csv"))),
        ('export-table assignment "%s"' % f("b_assignment.csv"),
         lambda s: s.export_table("assignment", f("b_assignment.csv"))),
        ('export-table frequency "%s"' % f("b_frequency.csv"),
         lambda s: s.export_table("frequency", f("b_frequency.csv"))),
        ("map-size 3 3", lambda s: s.map_size(3, 3)),
        ('import-prototypes "%s"' % f("a.wgt"), lambda s: s.import_prototypes(f("a.wgt"))),
        ("train 5 1 0.02 0.5", lambda s: s.train(5, 1, 0.02, 0.5)),
        ('export-prototypes "%s"' % f("b.wgt"), lambda s: s.export_prototypes(f("b.wgt"))),
    ]
    return [first, second]


def test_module_and_batch_give_the_same_bits(tmp_path, batch, iris_dat, iris_csv):
    data = {"dat": iris_dat, "csv": iris_csv}
    for session_steps in steps(data, tmp_path / "module"):
        (tmp_path / "module").mkdir(exist_ok=True)
        (tmp_path / "batch").mkdir(exist_ok=True)
        session = veltra.Session(clock=TIME)
        module_lines = []
        for line, call in session_steps:
            module_lines += events(line.split()[0], call(session))

        script = "\n".join(line.replace(str(tmp_path / "module"), str(tmp_path / "batch"))
                           for line, _ in session_steps) + "\n"
        run = subprocess.run([batch, "--time", str(TIME)], input=script, capture_output=True,
                             text=True, check=True)
        batch_lines = [line for line in run.stdout.splitlines() if not line.startswith("message\t")]
        assert module_lines == batch_lines

    written = sorted(p.name for p in (tmp_path / "batch").iterdir())
    assert len(written) == 9
    assert sorted(p.name for p in (tmp_path / "module").iterdir()) == written
    for name in written:
        assert (tmp_path / "module" / name).read_bytes() == (tmp_path / "batch" / name).read_bytes(), name
