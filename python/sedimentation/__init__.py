"""Settling velocity of particles in still air, by VDI 3782 Blatt 1.

The model of the program absink as numpy ufuncs, with absink's own digits:
each takes the particle diameter d in micrometres and its density rho in
g/cm^3 (or, for the inverse, the velocity vs in cm/s and rho), as arrays
or numbers, and broadcasts them.

settling_velocity(d, rho)     settling velocity vs in cm/s
best_number(d, rho)           Best number w
reynolds_number(d, rho)       Reynolds number Nre
verdict(d, rho)               what absink's report makes of it (Verdict)
reported_velocity(d, rho)     vs as the report gives it: 0, or NaN where it warns
settling_diameter(vs, rho)    the diameter in um that settles at vs
aerodynamic_diameter(d, rho)  the diameter of a sphere of 1 g/cm^3 as fast
size_class(da)                TA Luft's size class of an aerodynamic diameter
particle_size_class(d, rho)   TA Luft's size class of a particle
dataset(d, rho)               all of them as an xarray Dataset with units
ta_luft_limits                TA Luft's limits between its size classes, in um

A dask array or an xarray DataArray goes straight in and stays lazy and
chunked.  A ufunc applied to DataArrays carries the first input's attrs,
as every ufunc does: dataset gives each result its own units.

>>> import numpy as np, sedimentation
>>> vs = sedimentation.settling_velocity(np.array([100, 800]), np.array([1, 2]))
>>> ['%.4f' % v for v in vs]
['25.1831', '507.3229']

Quartz dust (2.65 g/cm^3) in TA Luft's size classes of aerodynamic
diameter, 1 to 4, as the library decides them (700 um has no aerodynamic
diameter below Nre 300, but lies above 50 um all the same):

>>> sedimentation.particle_size_class([1, 2, 10, 100, 700], 2.65)
array([1, 2, 3, 4, 4], dtype=int8)
"""
import enum
from typing import TYPE_CHECKING, Any

try:
    import numpy
except ImportError:  # pragma: no cover - the package declares numpy
    raise ImportError("the module sedimentation needs numpy 1.22 or later "
                      "(Debian: python3-numpy; pip: numpy>=1.22)") from None

from . import _ufuncs
from ._ufuncs import (
    __version__,
    aerodynamic_diameter,
    beard_peak_best_number,
    best_number,
    particle_size_class,
    reported_velocity,
    reynolds_number,
    settling_diameter,
    settling_velocity,
    size_class,
    ta_luft_limits,
    verdict,
)


class Verdict(enum.IntEnum):
    """What absink's report makes of a particle: the values of verdict(),
    which the extension takes from the C library's enum
    sedimentation_verdict."""

    SETTLES = _ufuncs.SETTLES                              #: the report gives vs
    NOT_SETTLING = _ufuncs.NOT_SETTLING                    #: w < 0.003: the report gives vs = 0
    ABOVE_REYNOLDS_LIMIT = _ufuncs.ABOVE_REYNOLDS_LIMIT    #: Nre > 300: a warning instead of vs
    BEYOND_PEAK = _ufuncs.BEYOND_PEAK                      #: w > 9.1e5: a warning instead of vs


SETTLES = Verdict.SETTLES
NOT_SETTLING = Verdict.NOT_SETTLING
ABOVE_REYNOLDS_LIMIT = Verdict.ABOVE_REYNOLDS_LIMIT
BEYOND_PEAK = Verdict.BEYOND_PEAK

if TYPE_CHECKING:
    import xarray


def dataset(d: Any, rho: Any) -> "xarray.Dataset":
    """The model's results for particles as an xarray Dataset.

    Parameters
    ----------
    d : array_like or xarray.DataArray
        Particle diameter in micrometres (um).
    rho : array_like or xarray.DataArray
        Particle density in g/cm^3.

    Returns
    -------
    xarray.Dataset
        w, Nre, vs, reported_velocity, verdict, da, the aerodynamic
        diameter, and size_class, TA Luft's, each with CF-style
        ``units`` and a ``long_name`` (the verdict with ``flag_values``
        and ``flag_meanings``), over d and rho broadcast against each
        other.  d and rho are its coordinates, with their own units.  A
        plain array becomes a DataArray along "particle" (1-D) or
        "dim_0", "dim_1", ...; a DataArray keeps its dimensions, and one
        backed by dask stays lazy and chunked.  xarray is imported only
        here.

    Examples
    --------
    >>> import sedimentation
    >>> ds = sedimentation.dataset([100, 800], [1, 2])
    >>> ds.vs.attrs["units"], '%.4f' % ds.vs[1]
    ('cm s-1', '507.3229')
    >>> ds.verdict.attrs["flag_meanings"]
    'settles not_settling above_reynolds_limit beyond_peak'
    """
    import xarray as xr

    def labelled(x: Any, name: str, units: str, long_name: str) -> xr.DataArray:
        if not isinstance(x, xr.DataArray):
            x = numpy.asarray(x)
            x = xr.DataArray(x, dims=("particle",) if x.ndim == 1 else None)
        labelled: xr.DataArray = x.rename(name).assign_attrs(units=units, long_name=long_name)
        return labelled

    d = labelled(d, "d", "um", "particle diameter")
    rho = labelled(rho, "rho", "g cm-3", "particle density")
    d, rho = xr.broadcast(d, rho)
    # Each result gets its own attrs, not the first input's.
    results: dict[str, tuple[Any, dict[str, Any]]] = {
        "w": (best_number, {"units": "1", "long_name": "Best number"}),
        "Nre": (reynolds_number, {"units": "1", "long_name": "particle Reynolds number"}),
        "vs": (settling_velocity, {"units": "cm s-1", "long_name": "settling velocity"}),
        "reported_velocity": (reported_velocity, {
            "units": "cm s-1",
            "long_name": "settling velocity as absink's report gives it (NaN: a warning)"}),
        "verdict": (verdict, {
            "long_name": "absink's report on the particle",
            "flag_values": numpy.array([v.value for v in Verdict], numpy.int8),
            "flag_meanings": " ".join(v.name.lower() for v in Verdict)}),
        "da": (aerodynamic_diameter, {
            "units": "um",
            "long_name": "aerodynamic diameter (of a sphere of 1 g/cm3 that settles as fast)"}),
        "size_class": (particle_size_class, {
            "long_name": f"size class of dust after {_ufuncs.ta_luft_source} (0: none follows)",
            "flag_values": numpy.arange(5, dtype=numpy.int8),
            "flag_meanings": "none class_1 class_2 class_3 class_4"}),
    }
    variables: dict[str, xr.DataArray] = {}
    for name, (ufunc, attrs) in results.items():
        variables[name] = xr.apply_ufunc(ufunc, d, rho, dask="allowed", keep_attrs=False)
        variables[name].attrs = attrs
    return xr.Dataset(variables, coords={"d": d, "rho": rho})


__all__ = [
    "ABOVE_REYNOLDS_LIMIT",
    "BEYOND_PEAK",
    "NOT_SETTLING",
    "SETTLES",
    "Verdict",
    "__version__",
    "aerodynamic_diameter",
    "beard_peak_best_number",
    "best_number",
    "dataset",
    "particle_size_class",
    "reported_velocity",
    "reynolds_number",
    "settling_diameter",
    "settling_velocity",
    "size_class",
    "ta_luft_limits",
    "verdict",
]
