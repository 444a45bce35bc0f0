# Types of the extension module: three ufuncs of two inputs and one output.
import numpy as np

__version__: str
beard_peak_best_number: float
settling_velocity: np.ufunc
best_number: np.ufunc
reynolds_number: np.ufunc
