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
class_split(d, passing, rho)  a size distribution split into TA Luft's classes
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
from typing import TYPE_CHECKING, Any, NamedTuple, Optional

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


class ClassSplit(NamedTuple):
    """A size distribution split into TA Luft's four size classes: the
    values of class_split, as NumPy float32 arrays."""

    limits: numpy.ndarray     #: the three class limits as diameters of the measured kind, um
    fractions: numpy.ndarray  #: each class's share of the mass, per cent (NaN: not determined)
    low: numpy.ndarray        #: the least share the measured points allow, per cent
    high: numpy.ndarray       #: the largest share they allow, per cent


def class_split(d: Any, passing: Any, rho: Optional[float] = None, residue: bool = False) -> ClassSplit:
    """Split a size distribution into TA Luft's four size classes.

    The share of the emission mass in each class of aerodynamic diameter
    (TA Luft 2002, Anhang 3, Nr. 4 and Tabelle 13), with which the
    dispersion of each class is computed.

    Parameters
    ----------
    d : array_like
        The measured sizes in um, in any order: geometric diameters (a
        sieve or laser analysis) of density rho, or aerodynamic diameters
        (an impactor's) where rho is None.
    passing : array_like
        The cumulative mass passing at each size in per cent
        ("Durchgang"), or with residue=True the residue ("Rueckstand",
        100 - passing).
    rho : float, optional
        The density in g/cm^3 of geometric sizes; None for aerodynamic
        sizes.
    residue : bool
        Whether passing holds residues.

    Returns
    -------
    ClassSplit
        limits, the class limits (2.5, 10, 50 um aerodynamic) as
        diameters of the measured kind; fractions, each class's share in
        per cent; low and high, the bounds that the measured points allow.

    Raises
    ------
    ValueError
        For bad input, with the message that names the entry: fewer than
        two sizes, unequal lengths, a size not above zero or not a
        number, a value outside 0 to 100 %, a size given twice, a passing
        that falls with rising size, a density not above zero.

    Notes
    -----
    Each limit is the smallest float diameter of the density whose
    aerodynamic_diameter reaches it.  The passing at a limit x is
    interpolated linearly in ln d between the measured sizes around it,
    Q(x) = Q_i + (Q_i+1 - Q_i) ln(x/d_i) / ln(d_i+1/d_i); any distribution
    that rises through the measured points lies between Q_i and Q_i+1,
    and a class's bounds are the differences of its limits' bounds, never
    below 0.  Below the smallest size or above the largest nothing is
    extrapolated: the fractions that depend on it are NaN.  The C
    library's sedimentation_class_split.

    Examples
    --------
    Limestone, 2.7 g/cm^3, by sieve and laser:

    >>> import sedimentation
    >>> s = sedimentation.class_split([1, 2, 4, 8, 16, 31.5, 63, 125],
    ...                               [1.2, 3, 7, 15, 28, 45, 68, 90], rho=2.7)
    >>> ['%.4f' % x for x in s.limits]
    ['1.5215', '6.0858', '30.2236']
    >>> ['%.2f' % x for x in s.fractions]
    ['2.29', '9.55', '32.12', '56.04']
    >>> ['%.1f-%.1f' % b for b in zip(s.low, s.high)]
    ['1.2-3.0', '4.0-13.8', '13.0-38.0', '55.0-72.0']
    """
    sizes = numpy.asarray(d, dtype=numpy.float64).ravel()
    values = numpy.asarray(passing, dtype=numpy.float64).ravel()
    status, index, message, *results = _ufuncs._class_split(
        sizes, values, 0.0 if rho is None else float(rho), bool(residue))
    if status != 0:
        if 0 <= index < min(len(sizes), len(values)):
            message = f"entry {index} (d = {sizes[index]:g}, value = {values[index]:g}): {message}"
        elif 0 <= index < max(len(sizes), len(values)):
            message = f"entry {index}: {message}"
        raise ValueError(message)
    return ClassSplit(*(numpy.array(r, numpy.float32) for r in results))


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
    "ClassSplit",
    "NOT_SETTLING",
    "SETTLES",
    "Verdict",
    "__version__",
    "aerodynamic_diameter",
    "beard_peak_best_number",
    "best_number",
    "class_split",
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
