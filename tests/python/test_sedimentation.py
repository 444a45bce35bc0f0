"""The Python module: absink's digits, the library's bits, numpy's domain
rules, and dask beyond one process.

    PYTHONPATH=build/dev/python python3 -m pytest tests/python
"""
import ctypes
import warnings

import numpy as np
import pytest

import sedimentation as sd

# Typed as on absink's command line, and w, Nre and vs as absink prints
# them; vs where the report shows 0 or warns is the library's.
TYPED = [
    ("10", "1", "0.0499", "0.0021", "0.3040"),
    ("16.8", "1", "0.2367", "0.0099", "0.8581"),  # Stokes' law
    ("17", "1", "0.2452", "0.0102", "0.8775"),  # Beard's polynomial
    ("20", "2.65", "1.0581", "0.0437", "3.1941"),
    ("100", "1", "49.9100", "1.7225", "25.1831"),
    ("500", "1", "6238.7500", "69.0546", "201.9156"),
    ("1000", "1", "49910.0000", "273.5348", "399.9079"),
    ("800", "2", "51107.8398", "277.6049", "507.3229"),  # w held in float
    ("1000", "2", "99820.0000", "413.8116", "604.9925"),  # the report warns
    ("5000", "1", "6238750.0000", "268.0787", "78.3862"),  # past the peak
    ("3", "1", "0.0013", "0.0001", "0.0274"),  # the report shows 0
    ("4", "1", "0.0032", "0.0001", "0.0486"),
]


@pytest.mark.parametrize("dtype", [np.float32, np.float64])
@pytest.mark.parametrize("d, rho, w, nre, vs", TYPED)
def test_prints_absinks_digits(dtype, d, rho, w, nre, vs):
    args = np.array([float(d)], dtype), np.array([float(rho)], dtype)
    got = [f(*args) for f in (sd.best_number, sd.reynolds_number, sd.settling_velocity)]
    assert [g.dtype for g in got] == [dtype] * 3
    assert ["%.4f" % g[0] for g in got] == [w, nre, vs]


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


# d, rho, their dtype, and what comes out: "warn" is NaN with numpy's
# invalid-value warning, "nan" NaN without, "value" a number.
DOMAIN = [
    (-100, 1, np.float64, "warn"),
    (0, 1, np.float32, "warn"),
    (1, np.inf, np.float32, "warn"),
    (1e39, 1, np.float64, "warn"),  # float32 infinity once rounded
    (1e-50, 1, np.float64, "warn"),  # float32 zero once rounded
    (3.4028235e38, 3.4e38, np.float64, "value"),  # float32's largest
    (1e-45, 1, np.float32, "value"),  # float32's smallest
    (np.nan, 1, np.float64, "nan"),
    (np.nan, -1, np.float32, "nan"),
]


@pytest.mark.parametrize("d, rho, dtype, outcome", DOMAIN)
def test_domain(d, rho, dtype, outcome):
    args = np.array(d, dtype), np.array(rho, dtype)
    for f in (sd.settling_velocity, sd.best_number, sd.reynolds_number):
        if outcome == "warn":
            with pytest.warns(RuntimeWarning, match="invalid value"):
                assert np.isnan(f(*args))
            with np.errstate(invalid="raise"), pytest.raises(FloatingPointError):
                f(*args)
        else:
            with warnings.catch_warnings():
                warnings.simplefilter("error")
                assert np.isnan(f(*args)) == (outcome == "nan")


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
                                  dashboard_address=None) as cluster, distributed.Client(cluster):
        got = lazy.compute()
        got_labelled = labelled.compute().data
    assert np.array_equal(got.view(np.uint32), direct.view(np.uint32))
    assert np.array_equal(got_labelled, sd.settling_velocity(d[:1000], np.float32(2.65)))
