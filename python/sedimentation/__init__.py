"""Settling velocity of particles in still air, by VDI 3782 Blatt 1.

The model of the program absink as numpy ufuncs, one per result, with
absink's own digits: each takes the particle diameter d in micrometres and
its density rho in g/cm^3, as arrays or numbers, and broadcasts them.

settling_velocity(d, rho)  settling velocity vs in cm/s
best_number(d, rho)        Best number w
reynolds_number(d, rho)    Reynolds number Nre

They apply none of absink's report rules: its report shows vs = 0 where
w < 0.003, and a warning instead of vs where Nre > 300 or
w > beard_peak_best_number (9.1e5).  A dask array or an xarray DataArray
goes straight in and stays lazy and chunked.

>>> import numpy as np, sedimentation
>>> vs = sedimentation.settling_velocity(np.array([100, 800]), np.array([1, 2]))
>>> ['%.4f' % v for v in vs]
['25.1831', '507.3229']
"""
from ._ufuncs import (
    __version__,
    beard_peak_best_number,
    best_number,
    reynolds_number,
    settling_velocity,
)

__all__ = [
    "__version__",
    "beard_peak_best_number",
    "best_number",
    "reynolds_number",
    "settling_velocity",
]
