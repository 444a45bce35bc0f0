# Types of the extension module: ufuncs of two inputs and one output, and
# size_class of one.  A
# number gives a number, an array (or a sequence of numbers) an ndarray,
# and anything else numpy hands to __array_ufunc__ (dask arrays, xarray
# DataArrays) what that gives; a string or None is an error.
from typing import Any, Protocol, Sequence, Union, overload

import numpy as np
import numpy.typing as npt

_Number = Union[float, int, np.floating[Any], np.integer[Any]]
_Array = Union[npt.NDArray[np.floating[Any]], npt.NDArray[np.integer[Any]], Sequence[_Number],
               Sequence[Sequence[_Number]]]

class _ArrayUfuncOperand(Protocol):
    def __array_ufunc__(self, ufunc: Any, method: str, *inputs: Any, **kwargs: Any) -> Any: ...

class _FloatUfunc:
    """A numpy.ufunc; its attributes other than the call are numpy's."""
    def __getattr__(self, name: str) -> Any: ...
    @overload
    def __call__(self, x1: _Number, x2: _Number, /) -> float: ...  # type: ignore[misc]
    @overload
    def __call__(self, x1: Union[_Array, _Number], x2: Union[_Array, _Number], /,
                 out: Union[npt.NDArray[np.floating[Any]], None] = ..., *,
                 where: Union[bool, npt.ArrayLike] = ...) -> npt.NDArray[np.floating[Any]]: ...
    @overload
    def __call__(self, x1: Union[_ArrayUfuncOperand, _Array, _Number],
                 x2: Union[_ArrayUfuncOperand, _Array, _Number], /, **kwargs: Any) -> Any: ...

class _VerdictUfunc:
    """A numpy.ufunc; its attributes other than the call are numpy's."""
    def __getattr__(self, name: str) -> Any: ...
    @overload
    def __call__(self, x1: _Number, x2: _Number, /) -> np.int8: ...  # type: ignore[misc]
    @overload
    def __call__(self, x1: Union[_Array, _Number], x2: Union[_Array, _Number], /,
                 out: Union[npt.NDArray[np.int8], None] = ..., *,
                 where: Union[bool, npt.ArrayLike] = ...) -> npt.NDArray[np.int8]: ...
    @overload
    def __call__(self, x1: Union[_ArrayUfuncOperand, _Array, _Number],
                 x2: Union[_ArrayUfuncOperand, _Array, _Number], /, **kwargs: Any) -> Any: ...

class _ClassUfunc:
    """A numpy.ufunc of one input; its attributes other than the call are numpy's."""
    def __getattr__(self, name: str) -> Any: ...
    @overload
    def __call__(self, x: _Number, /) -> np.int8: ...  # type: ignore[misc]
    @overload
    def __call__(self, x: Union[_Array, _Number], /,
                 out: Union[npt.NDArray[np.int8], None] = ..., *,
                 where: Union[bool, npt.ArrayLike] = ...) -> npt.NDArray[np.int8]: ...
    @overload
    def __call__(self, x: Union[_ArrayUfuncOperand, _Array, _Number], /, **kwargs: Any) -> Any: ...

def _class_split(sizes: npt.NDArray[np.float64], values: npt.NDArray[np.float64], density: float,
                 residue: bool, /) -> tuple[int, int, str, tuple[float, float, float],
                                            tuple[float, float, float, float],
                                            tuple[float, float, float, float],
                                            tuple[float, float, float, float]]: ...

__version__: str
beard_peak_best_number: float
ta_luft_limits: tuple[float, float, float]
ta_luft_source: str
settling_velocity: _FloatUfunc
best_number: _FloatUfunc
reynolds_number: _FloatUfunc
reported_velocity: _FloatUfunc
settling_diameter: _FloatUfunc
aerodynamic_diameter: _FloatUfunc
verdict: _VerdictUfunc
particle_size_class: _VerdictUfunc
size_class: _ClassUfunc
SETTLES: int
NOT_SETTLING: int
ABOVE_REYNOLDS_LIMIT: int
BEYOND_PEAK: int
