"""The Python module's speed in ns per element, for 10^6 elements in float32
and float64, against the plain C loop of bench/loop.c (its ns per element
is the first argument; goal: at most 1.5 times it) and against a Python
loop over ctypes (goal: at least 15 times faster); the verdict against the
C loop with the verdict (the second argument; at most 1.5 times it), and
the inverse and the aerodynamic diameter against the forward ufunc (at
most 30 times it each).  bench/python
runs it.
"""
import ctypes
import sys
import timeit

import numpy as np

import sedimentation as sd

N = 10**6
rng = np.random.default_rng(1976)
d32 = np.exp(rng.uniform(np.log(0.1), np.log(1e4), N)).astype(np.float32)
rho32 = np.exp(rng.uniform(np.log(0.1), np.log(10), N)).astype(np.float32)
d64, rho64 = d32.astype(np.float64), rho32.astype(np.float64)
out32, out64 = np.empty(N, np.float32), np.empty(N, np.float64)


def ns(f, n):
    """The best of five runs of f, in ns per element of n."""
    return min(timeit.repeat(f, number=1, repeat=5)) / n * 1e9


class Result(ctypes.Structure):
    _fields_ = [(name, ctypes.c_float) for name in ("w", "nre", "vs")]


# The library's sedimentation_compute by ctypes, as doc/library.md's example
# calls it, here from the module's own copy of the model.
compute = ctypes.CDLL(sd._ufuncs.__file__).sedimentation_compute
compute.argtypes = [ctypes.c_float, ctypes.c_float]
compute.restype = Result
few = list(zip(d32[:10**5].tolist(), rho32[:10**5].tolist()))

c_loop, c_verdict = float(sys.argv[1]), float(sys.argv[2])
f32 = ns(lambda: sd.settling_velocity(d32, rho32, out=out32), N)
f64 = ns(lambda: sd.settling_velocity(d64, rho64, out=out64), N)
py = ns(lambda: [compute(a, b).vs for a, b in few], len(few))
codes = np.empty(N, np.int8)
v32 = ns(lambda: sd.verdict(d32, rho32, out=codes), N)
# The inverse of the velocities the report gives (NaN elsewhere: few steps).
settles = sd.verdict(d32, rho32) == sd.SETTLES
vs64, rho_settles = sd.settling_velocity(d64[settles], rho64[settles]), rho64[settles]
inverse = ns(lambda: sd.settling_diameter(vs64, rho_settles), len(vs64))
aerodynamic = ns(lambda: sd.aerodynamic_diameter(d64, rho64, out=out64), N)
print("C loop over sedimentation_compute %8.1f ns" % c_loop)
print("ufunc, float32                    %8.1f ns  %5.2fx the C loop (at most 1.50)" % (f32, f32 / c_loop))
print("ufunc, float64                    %8.1f ns  %5.2fx the C loop (at most 1.50)" % (f64, f64 / c_loop))
print("Python loop over ctypes           %8.1f ns  %5.1fx the float64 ufunc (at least 15)" % (py, py / f64))
print("C loop with the verdict           %8.1f ns" % c_verdict)
print("verdict, float32                  %8.1f ns  %5.2fx the C loop with it (at most 1.50)" % (v32, v32 / c_verdict))
print("settling_diameter, float64        %8.1f ns  %5.1fx the float64 ufunc (at most 30)" % (inverse, inverse / f64))
print("aerodynamic_diameter, float64     %8.1f ns  %5.1fx the float64 ufunc (at most 30)"
      % (aerodynamic, aerodynamic / f64))
