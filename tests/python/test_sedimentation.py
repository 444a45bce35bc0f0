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

# Typed as on absink's command line, and w, Nre and vs as absink prints
# them; vs where the report shows 0 or warns is the library's.  Then the
# report's verdict and the velocity it gives.
TYPED = [
    ("10", "1", "0.0499", "0.0021", "0.3040", sd.SETTLES, "0.3040"),
    ("16.8", "1", "0.2367", "0.0099", "0.8581", sd.SETTLES, "0.8581"),  # Stokes' law
    ("17", "1", "0.2452", "0.0102", "0.8775", sd.SETTLES, "0.8775"),  # Beard's polynomial
    ("20", "2.65", "1.0581", "0.0437", "3.1941", sd.SETTLES, "3.1941"),
    ("100", "1", "49.9100", "1.7225", "25.1831", sd.SETTLES, "25.1831"),
    ("500", "1", "6238.7500", "69.0546", "201.9156", sd.SETTLES, "201.9156"),
    ("1000", "1", "49910.0000", "273.5348", "399.9079", sd.SETTLES, "399.9079"),
    ("800", "2", "51107.8398", "277.6049", "507.3229", sd.SETTLES, "507.3229"),  # w held in float
    ("1000", "2", "99820.0000", "413.8116", "604.9925", sd.ABOVE_REYNOLDS_LIMIT, "nan"),
    ("250", "811", "632453.3125", "866.0777", "5064.8223", sd.ABOVE_REYNOLDS_LIMIT, "nan"),
    ("5500", "0.25", "2075944.0000", "744.7398", "197.9654", sd.BEYOND_PEAK, "nan"),
    ("5000", "1", "6238750.0000", "268.0787", "78.3862", sd.BEYOND_PEAK, "nan"),  # past the peak
    ("3", "1", "0.0013", "0.0001", "0.0274", sd.NOT_SETTLING, "0.0000"),
    ("3.9", "1", "0.0030", "0.0001", "0.0462", sd.NOT_SETTLING, "0.0000"),  # w 0.00296
    ("4", "1", "0.0032", "0.0001", "0.0486", sd.SETTLES, "0.0486"),
]


@pytest.mark.parametrize("dtype", [np.float32, np.float64])
@pytest.mark.parametrize("d, rho, w, nre, vs, verdict, reported", TYPED)
def test_prints_absinks_digits(dtype, d, rho, w, nre, vs, verdict, reported):
    args = np.array([float(d)], dtype), np.array([float(rho)], dtype)
    with warnings.catch_warnings():
        warnings.simplefilter("error")  # NaN where it warns is the report's answer
        got = [f(*args) for f in (sd.best_number, sd.reynolds_number, sd.settling_velocity,
                                  sd.reported_velocity)]
        codes = sd.verdict(*args)
    assert [g.dtype for g in got] == [dtype] * 4 and codes.dtype == np.int8
    assert ["%.4f" % g[0] for g in got] == [w, nre, vs, reported] and codes.tolist() == [verdict]

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
# d, rho, their dtype, and what comes out: "warn" is NaN with numpy's
# invalid-value warning, "nan" NaN without, "value" a number.
DOMAIN = [
    (-100, 1, np.float64, "warn"),
    (0, 1, np.float32, "warn"),
    (1, np.inf, np.float32, "warn"),
    (1e39, 1, np.float64, "warn"),  # float32 infinity once rounded
    (1e-50, 1, np.float64, "warn"),  # float32 zero once rounded
    (3.4028235e38, 3.4e38, np.float64, "value"),  # float32's largest
    (np.nextafter(MIDPOINT, 0), 1, np.float64, "value"),  # just below: FLT_MAX
    (MIDPOINT, 1, np.float64, "warn"),  # the tie goes to the even 2^128
    (1, -np.nextafter(FLT_MAX, np.inf), np.float64, "warn"),  # -FLT_MAX, not FLT_MAX
    (1e-45, 1, np.float32, "value"),  # float32's smallest
    (np.nan, 1, np.float64, "nan"),
    (np.nan, -1, np.float32, "nan"),
]


@pytest.mark.parametrize("d, rho, dtype, outcome", DOMAIN)
def test_domain(d, rho, dtype, outcome):
    args = np.array(d, dtype), np.array(rho, dtype)
    for f in (sd.settling_velocity, sd.best_number, sd.reynolds_number, sd.reported_velocity,
              sd.settling_diameter, sd.aerodynamic_diameter):
        if outcome == "warn":
            with pytest.warns(RuntimeWarning, match="invalid value"):
                assert np.isnan(f(*args))
            with np.errstate(invalid="raise"), pytest.raises(FloatingPointError):
                f(*args)
        else:
            with warnings.catch_warnings():
                warnings.simplefilter("error")
                assert np.isnan(f(*args)) == (outcome == "nan") or f in (
                    sd.reported_velocity, sd.settling_diameter, sd.aerodynamic_diameter)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        assert (sd.verdict(*args) == -1) == (outcome != "value")


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
    aerodynamic = sd.aerodynamic_diameter(d[settles], rho[settles])
    assert np.array_equal(aerodynamic, sd.settling_diameter(vs[settles], np.float32(1)), equal_nan=True)
    assert ["%.2f" % x for x in sd.aerodynamic_diameter([10, 10], [1, 2.65])] == ["10.00", "16.28"]


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
                     "verdict": None, "d": "um", "rho": "g cm-3"}
    assert ds.verdict.attrs["flag_values"].tolist() == [0, 1, 2, 3]
    assert ds.verdict.attrs["flag_meanings"].split() == [v.name.lower() for v in sd.Verdict]
    assert all(ds[name].attrs["long_name"] for name in ds.variables)
    computed = ds.compute()
    assert ["%.4f" % v for v in computed.reported_velocity.values] == ["25.1831", "507.3229", "nan"]
    assert computed.verdict.values.tolist() == [0, 0, 2]


@pytest.mark.parametrize("name", ["__init__", "settling_velocity", "best_number", "reynolds_number",
                                  "verdict", "reported_velocity", "settling_diameter",
                                  "aerodynamic_diameter", "dataset"])
def test_the_docstrings_print_what_they_show(name):
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
