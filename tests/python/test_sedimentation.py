"""The Python module: absink's digits and its report's rules, the library's
bits, the inverse, numpy's domain rules, xarray's units, dask beyond one
process on loopback, the docstrings' examples and the stubs' types.

    PYTHONPATH=build/dev/python python3 -m pytest tests/python
"""
import ctypes
import doctest
import os
import subprocess
import sys
import warnings

import numpy as np
import pytest

import sedimentation as sd

# The test particles (tests/particles.tsv, whose head says what each column
# holds), typed as on absink's command line, with w, Nre, vs and the
# aerodynamic diameter as printed, the velocity the report shows, its
# verdict and TA Luft's size class.
PARTICLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "particles.tsv")
with open(PARTICLES, encoding="ascii") as table:
    TYPED = [tuple(line.rstrip("\n").split("\t")) for line in table if line.strip() and line[0] != "#"]
assert TYPED and all(len(row) == 9 for row in TYPED)


@pytest.mark.parametrize("dtype", [np.float32, np.float64])
@pytest.mark.parametrize("d, rho, w, nre, vs, shown, verdict, da, size_class", TYPED)
def test_prints_absinks_digits(dtype, d, rho, w, nre, vs, shown, verdict, da, size_class):
    args = np.array([float(d)], dtype), np.array([float(rho)], dtype)
    with warnings.catch_warnings():
        warnings.simplefilter("error")  # NaN where it warns is the report's answer
        got = [f(*args) for f in (sd.best_number, sd.reynolds_number, sd.settling_velocity,
                                  sd.reported_velocity, sd.aerodynamic_diameter)]
        codes = sd.verdict(*args)
        classes = sd.particle_size_class(*args), sd.size_class(got[4])
    assert [g.dtype for g in got] == [dtype] * 5 and codes.dtype == np.int8
    shown = "nan" if shown == "warning" else shown
    assert ["%.4f" % g[0] for g in got] == [w, nre, vs, shown, da]
    assert codes.tolist() == [sd.Verdict[verdict.upper()]]
    assert classes[0].tolist() == [int(size_class)]
    if da != "nan":
        assert classes[1].tolist() == [int(size_class)]


class Result(ctypes.Structure):
    _fields_ = [(name, ctypes.c_float) for name in ("w", "nre", "vs")]


def test_agrees_bitwise_with_the_library():
    # The module's own library, static or shared, called once per particle.
    compute = ctypes.CDLL(sd._ufuncs.__file__).sedimentation_compute
    compute.argtypes = [ctypes.c_float, ctypes.c_float]
    compute.restype = Result
    rng = np.random.default_rng(1976)
    d = np.exp(rng.uniform(np.log(1e-2), np.log(1e5), 20000)).astype(np.float32)
    rho = np.exp(rng.uniform(np.log(1e-3), np.log(30), 20000)).astype(np.float32)
    calls = [compute(a, b) for a, b in zip(d.tolist(), rho.tolist())]
    expected = {f: np.array([getattr(r, n) for r in calls], np.float32)
                for f, n in ((sd.best_number, "w"), (sd.reynolds_number, "nre"),
                             (sd.settling_velocity, "vs"))}
    strided = np.repeat(d, 2)[::2], np.repeat(rho, 3)[::3]
    for args in ((d, rho), strided, (d.astype(np.float64), rho.astype(np.float64))):
        for f, want in expected.items():
            got = f(*args).astype(np.float32)
            assert np.array_equal(got.view(np.uint32), want.view(np.uint32)), f.__name__


FLT_MAX = float(np.finfo(np.float32).max)
MIDPOINT = float.fromhex("0x1.ffffffp127")  # between FLT_MAX and 2^128: rounds to 2^128
# The functions of a particle, and of a velocity and a density.
FUNCTIONS = (sd.settling_velocity, sd.best_number, sd.reynolds_number, sd.reported_velocity,
             sd.settling_diameter, sd.aerodynamic_diameter)
# d (or vs), rho, their dtype, and what comes out of each function: "warn"
# is NaN with numpy's invalid-value warning, "nan" NaN without, "value" a
# number.  At the domain's edges the particles are absurd: the report warns
# (w beyond float's range) or gives 0, the model's velocity underflows to
# 0, and no diameter settles at the velocity FLT_MAX or 1e-45 cm/s.
WARN, NAN = ("warn",) * 6, ("nan",) * 6
EDGE = ("value", "value", "value", "nan", "nan", "nan")
DOMAIN = [
    (-100, 1, np.float64, WARN),
    (0, 1, np.float32, WARN),
    (1, np.inf, np.float32, WARN),
    (1e39, 1, np.float64, WARN),  # float32 infinity once rounded
    (1e-50, 1, np.float64, WARN),  # float32 zero once rounded
    (3.4028235e38, 3.4e38, np.float64, EDGE),  # float32's largest
    (np.nextafter(MIDPOINT, 0), 1, np.float64, EDGE),  # just below: FLT_MAX
    (MIDPOINT, 1, np.float64, WARN),  # the tie goes to the even 2^128
    (1, -np.nextafter(FLT_MAX, np.inf), np.float64, WARN),  # -FLT_MAX, not FLT_MAX
    (1e-45, 1, np.float32, ("value",) * 4 + ("nan",) * 2),  # float32's smallest: the report's 0
    (np.nan, 1, np.float64, NAN),
    (np.nan, -1, np.float32, NAN),
]


@pytest.mark.parametrize("d, rho, dtype, outcomes", DOMAIN)
def test_domain(d, rho, dtype, outcomes):
    args = np.array(d, dtype), np.array(rho, dtype)
    for f, outcome in zip(FUNCTIONS, outcomes):
        if outcome == "warn":
            with pytest.warns(RuntimeWarning, match="invalid value"):
                assert np.isnan(f(*args))
            with np.errstate(invalid="raise"), pytest.raises(FloatingPointError):
                f(*args)
        else:
            with warnings.catch_warnings():
                warnings.simplefilter("error")
                assert np.isnan(f(*args)) == (outcome == "nan"), f.__name__
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        assert (sd.verdict(*args) == -1) == (outcomes[0] != "value")


def test_the_inverse_gives_the_velocity_back():
    rng = np.random.default_rng(1949)
    d = np.exp(rng.uniform(np.log(1), np.log(1e4), 20000)).astype(np.float32)
    rho = np.exp(rng.uniform(np.log(1e-3), np.log(30), 20000)).astype(np.float32)
    vs = sd.settling_velocity(d, rho)
    settles = sd.verdict(d, rho) == sd.SETTLES
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        found = sd.settling_diameter(vs, rho)
        back = sd.settling_velocity(found[settles], rho[settles])
    assert np.all(np.abs(back.astype(np.float64) / vs[settles] - 1) <= 1e-6)
    # Elsewhere a diameter settles at that velocity (a fast particle past
    # the peak is as slow as a small one) or none does.
    assert np.all(sd.verdict(found[~np.isnan(found)], rho[~np.isnan(found)]) == sd.SETTLES)
    assert np.isnan(sd.settling_diameter([0.01, 1e4], 1)).all()  # below w 0.003, above Nre 300
    # The twin settles as fast as the particle, where both lie below Nre
    # 300 and w 0.003 too; it has none where either lies beyond.
    aerodynamic = sd.aerodynamic_diameter(d, rho)
    twin = sd.settling_velocity(aerodynamic, np.float32(1))
    has = ~np.isnan(aerodynamic)
    assert np.all(np.abs(twin[has].astype(np.float64) / vs[has] - 1) <= 1e-6)
    warns = ~np.isin(sd.verdict(d, rho), [sd.SETTLES, sd.NOT_SETTLING])
    assert np.all(np.isnan(aerodynamic[warns])) and has[settles & (vs < 300)].all()
    # Each is a float whose neighbours settle no nearer the velocity.
    for inverse, target, density in ((found[settles], vs[settles], rho[settles]),
                                     (aerodynamic[has], vs[has], np.float32(1))):
        off = lambda x: np.abs(sd.settling_velocity(x, density).astype(np.float64) / target - 1)
        nearest = off(inverse)
        for way in (np.float32(0), np.float32(np.inf)):
            assert np.all(off(np.nextafter(inverse, way)) >= nearest)


def test_behaves_as_a_ufunc():
    out = np.full(3, -1.0)
    sd.settling_velocity([10, 100, 1000], 1, out=out, where=[True, False, True])
    assert ["%.4f" % v for v in out] == ["0.3040", "-1.0000", "399.9079"]
    grid = sd.settling_velocity(np.array([[10], [100]], np.int16), np.float32([1, 2, 2.65]))
    assert grid.shape == (2, 3) and grid.dtype == np.float32
    assert "%.4f" % sd.settling_velocity(100, 1) == "25.1831"
    assert sd.beard_peak_best_number == 9.1e5 and sd.__version__.count(".") == 2


def test_dask_and_xarray_stay_lazy_and_give_the_same_bits():
    da = pytest.importorskip("dask.array")
    distributed = pytest.importorskip("distributed")
    xr = pytest.importorskip("xarray")
    rng = np.random.default_rng(1949)
    d = np.exp(rng.uniform(np.log(1e-1), np.log(1e4), 10**7)).astype(np.float32)
    rho = np.exp(rng.uniform(np.log(1e-1), np.log(10), 10**7)).astype(np.float32)
    direct = sd.settling_velocity(d, rho)
    lazy = sd.settling_velocity(da.from_array(d, chunks=10**6), da.from_array(rho, chunks=10**6))
    assert isinstance(lazy, da.Array) and lazy.numblocks == (10,)
    array = xr.DataArray(da.from_array(d[:1000], chunks=100), dims="particle")
    labelled = sd.settling_velocity(array, 2.65)
    assert isinstance(labelled.data, da.Array) and labelled.chunks == array.chunks
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, host="127.0.0.1",
                                  dashboard_address="127.0.0.1:0",
                                  worker_dashboard_address="127.0.0.1:0") as cluster, \
            distributed.Client(cluster):
        got = lazy.compute()
        got_labelled = labelled.compute().data
        # Every server of the cluster, dashboards included, on loopback alone.
        psutil = pytest.importorskip("psutil")
        ours = psutil.Process()
        pids = {ours.pid} | {child.pid for child in ours.children(recursive=True)}
        listening = [c.laddr for c in psutil.net_connections("inet")
                     if c.status == psutil.CONN_LISTEN and c.pid in pids]
        assert len(listening) >= 5 and {a.ip for a in listening} == {"127.0.0.1"}, listening
    assert np.array_equal(got.view(np.uint32), direct.view(np.uint32))
    assert np.array_equal(got_labelled, sd.settling_velocity(d[:1000], np.float32(2.65)))


def test_a_dataset_carries_its_own_units():
    xr = pytest.importorskip("xarray")
    da = pytest.importorskip("dask.array")
    d = xr.DataArray(da.from_array([100.0, 800.0, 1000.0], chunks=1), dims="particle",
                     attrs={"units": "um"})
    ds = sd.dataset(d, xr.DataArray([1.0, 2.0, 2.0], dims="particle"))
    assert isinstance(ds.vs.data, da.Array) and ds.vs.chunks == d.chunks  # lazy
    units = {name: ds[name].attrs.get("units") for name in ds.variables}
    assert units == {"w": "1", "Nre": "1", "vs": "cm s-1", "reported_velocity": "cm s-1",
                     "verdict": None, "da": "um", "size_class": None, "d": "um", "rho": "g cm-3"}
    assert ds.verdict.attrs["flag_values"].tolist() == [0, 1, 2, 3]
    assert ds.verdict.attrs["flag_meanings"].split() == [v.name.lower() for v in sd.Verdict]
    assert all(ds[name].attrs["long_name"] for name in ds.variables)
    computed = ds.compute()
    assert ["%.4f" % v for v in computed.reported_velocity.values] == ["25.1831", "507.3229", "nan"]
    assert computed.verdict.values.tolist() == [0, 0, 2]
    assert ["%.4f" % v for v in computed.da.values] == ["100.0000", "nan", "nan"]
    assert computed.size_class.values.tolist() == [4, 4, 0]


# The size distributions (tests/splits.tsv, whose head says what each field
# holds), with the split each gives or the entry its error names.
SPLITS_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "splits.tsv")
with open(SPLITS_TABLE, encoding="ascii") as table:
    SPLITS = [line.rstrip("\n").split("\t") for line in table if line.strip() and line[0] != "#"]
assert SPLITS and all(len(row) == 10 for row in SPLITS)


@pytest.mark.parametrize("d, values, rho, residue, status, index, limits, fractions, low, high", SPLITS)
def test_splits_as_worked_out(d, values, rho, residue, status, index, limits, fractions, low, high):
    args = ([float(x) for x in d.split()], [float(x) for x in values.split()],
            None if float(rho) == 0 else float(rho), residue == "1")
    if status != "ok":
        with pytest.raises(ValueError, match="entry %s" % index if index != "-1" else ""):
            sd.class_split(*args)
        return
    split = sd.class_split(*args)
    assert " ".join("%.4f" % x for x in split.limits) == limits
    for got, want in zip((split.fractions, split.low, split.high), (fractions, low, high)):
        assert got.dtype == np.float32 and " ".join("%.2f" % x for x in got) == want


# The Python document, the wheel's description, beside the tests' folder.
DOCUMENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "doc", "python.md")


@pytest.mark.parametrize("name", ["__init__", "settling_velocity", "best_number", "reynolds_number",
                                  "verdict", "reported_velocity", "settling_diameter",
                                  "aerodynamic_diameter", "size_class", "particle_size_class",
                                  "class_split", "dataset", "doc/python.md"])
def test_the_docstrings_print_what_they_show(name):
    if name == "doc/python.md":
        with open(DOCUMENT, encoding="utf-8") as f:  # a fence ends an example's output
            doc = "".join("\n" if line.lstrip().startswith("```") else line for line in f)
    else:
        doc = (sd if name == "__init__" else getattr(sd, name)).__doc__
    test = doctest.DocTestParser().get_doctest(doc, {}, name, None, 0)
    runner = doctest.DocTestRunner()
    runner.run(test)
    assert test.examples and runner.failures == 0


# What mypy makes of calls, with the stubs: a number gives a float, an
# array an ndarray of floats (int8 for the verdict), a string or None no
# match at all.
TYPES = [
    ("sd.settling_velocity(100.0, 1)", 'Revealed type is "builtins.float"'),
    ("sd.settling_diameter(np.zeros(3), 1.0)",
     'Revealed type is "numpy.ndarray[Any, numpy.dtype[numpy.floating[Any]]]"'),
    ("sd.verdict([100.0, 3.0], 1.0)", "numpy.dtype[numpy.signedinteger[numpy._typing._8Bit]]"),
    ("sd.dataset([100.0], [1.0])", 'Revealed type is "xarray.core.dataset.Dataset"'),
    ('sd.settling_velocity("a", None)', "No overload variant"),
    ("sd.class_split([1.0, 2.0], [10.0, 20.0], 1.0)", "sedimentation.ClassSplit"),
]


def test_the_stubs_type_the_calls(tmp_path):
    pytest.importorskip("mypy")
    source = "import numpy as np\nimport sedimentation as sd\n" + "".join(
        "reveal_type(%s)\n" % call for call, _ in TYPES)
    (tmp_path / "calls.py").write_text(source)
    # mypy finds the module where this Python does, by its py.typed.
    report = subprocess.run([sys.executable, "-m", "mypy", "--no-incremental", "calls.py"],
                            cwd=tmp_path, capture_output=True, text=True).stdout
    for line, (call, expected) in enumerate(TYPES, start=3):
        assert expected in "".join(r for r in report.splitlines() if r.startswith("calls.py:%d:" % line)), report


def test_without_numpy_the_import_says_what_it_needs():
    blocked = "import sys; sys.modules['numpy'] = None; import sedimentation"
    run = subprocess.run([sys.executable, "-c", blocked], capture_output=True, text=True)
    assert "needs numpy 1.22 or later" in run.stderr
