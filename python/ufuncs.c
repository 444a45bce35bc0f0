/*
 * sedimentation._ufuncs: the model as numpy ufuncs, one per result, so that
 * arrays, broadcasting, out= and where= work as for any ufunc, and dask and
 * xarray can take them (dask refuses ufuncs with several outputs).
 *
 * Each element is one call of sedimentation_compute, which keeps no state:
 * numpy runs these loops without the GIL.  The float32 loop hands the
 * library the values as they are; the float64 loop first rounds each input
 * to the nearest float32, as absink rounds what it reads, and returns the
 * library's single-precision result widened, so that '%.4f' prints the
 * report's digits.
 *
 * The domain is 0 < d, rho <= FLT_MAX (after that rounding).  Outside it the
 * result is NaN and the invalid-operation flag is raised, which numpy turns
 * into its "invalid value" warning, as for np.log(-1); a NaN input gives NaN
 * and no flag.
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <fenv.h>
#include <float.h>
#include <math.h>
#include <stddef.h>
#include <string.h>

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#include <numpy/ndarraytypes.h>
#include <numpy/ufuncobject.h>

#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"

/* Whether a value lies in the model's domain, (0, FLT_MAX]; NaN does not. */
static int in_domain(float x)
{
	return x > 0.0F && x <= FLT_MAX;
}

/*
 * The result the ufunc gives, picked from sedimentation_compute's by its
 * offset in the struct (the loops' data): NaN outside the domain.
 */
static float result(float d, float rho, size_t offset)
{
	if (isnan(d) || isnan(rho))
		return NAN;
	if (!in_domain(d) || !in_domain(rho)) {
		feraiseexcept(FE_INVALID);
		return NAN;
	}
	const struct sedimentation_result r = sedimentation_compute(d, rho);
	float value;
	memcpy(&value, (const char *)&r + offset, sizeof value);
	return value;
}

/*
 * The loops: numpy hands each operand as bytes with a stride.  Elements
 * are copied in and out with memcpy, which compilers make a plain load or
 * store, and which needs no alignment.
 */
static void loop_float(char **args, const npy_intp *dimensions, const npy_intp *steps, void *data)
{
	const size_t offset = *(const size_t *)data;
	for (npy_intp i = 0; i < dimensions[0]; i++) {
		float d, rho;
		memcpy(&d, args[0] + i * steps[0], sizeof d);
		memcpy(&rho, args[1] + i * steps[1], sizeof rho);
		const float value = result(d, rho, offset);
		memcpy(args[2] + i * steps[2], &value, sizeof value);
	}
}

static void loop_double(char **args, const npy_intp *dimensions, const npy_intp *steps, void *data)
{
	const size_t offset = *(const size_t *)data;
	for (npy_intp i = 0; i < dimensions[0]; i++) {
		double d, rho;
		memcpy(&d, args[0] + i * steps[0], sizeof d);
		memcpy(&rho, args[1] + i * steps[1], sizeof rho);
		const double value = (double)result(to_single(d), to_single(rho), offset);
		memcpy(args[2] + i * steps[2], &value, sizeof value);
	}
}

/* One loop per dtype; numpy picks the first that the inputs cast to
 * safely, so integers up to 16 bits and float16 take float32, the rest
 * float64. */
static PyUFuncGenericFunction loops[] = {loop_float, loop_double};
static char types[] = {NPY_FLOAT, NPY_FLOAT, NPY_FLOAT, NPY_DOUBLE, NPY_DOUBLE, NPY_DOUBLE};

/* Each ufunc's loop data, one per loop: which result it gives. */
static size_t velocity_offset = offsetof(struct sedimentation_result, velocity);
static size_t best_offset = offsetof(struct sedimentation_result, best_number);
static size_t reynolds_offset = offsetof(struct sedimentation_result, reynolds_number);
static void *velocity_data[] = {&velocity_offset, &velocity_offset};
static void *best_data[] = {&best_offset, &best_offset};
static void *reynolds_data[] = {&reynolds_offset, &reynolds_offset};

#define PARAMETERS                                                                                           \
	"Parameters\n"                                                                                       \
	"----------\n"                                                                                       \
	"d : array_like\n"                                                                                   \
	"    Particle diameter in micrometres (um), 0 < d <= 3.4028235e38.\n"                                \
	"rho : array_like\n"                                                                                 \
	"    Particle density in g/cm^3, 0 < rho <= 3.4028235e38.\n"                                         \
	"out : ndarray, None, or tuple of ndarray and None, optional\n"                                      \
	"    Where the result goes; a new array where None.\n"                                               \
	"where : array_like, optional\n"                                                                     \
	"    Where False, out keeps its value.\n"                                                            \
	"**kwargs\n"                                                                                         \
	"    As for any ufunc.\n\n"

#define DOMAIN                                                                                               \
	"A float64 input is first rounded to the nearest float32, as absink\n"                               \
	"rounds what it reads, and the result is the library's single-precision\n"                           \
	"value (widened in a float64 result), so '%.4f' % value prints absink's\n"                           \
	"digits.  Outside the domain the result is NaN with numpy's \"invalid\n"                             \
	"value\" warning (an error under np.errstate(invalid='raise')); a NaN\n"                             \
	"input gives NaN without a warning.\n\n"

#define REFERENCES                                                                                           \
	"References\n"                                                                                       \
	"----------\n"                                                                                       \
	".. [1] VDI 3782 Blatt 1: Umweltmeteorologie - Atmosphaerische\n"                                    \
	"       Ausbreitungsmodelle - Gauss'sches Fahnenmodell zur Bestimmung\n"                             \
	"       von Immissionskenngroessen (new edition).\n"                                                 \
	".. [2] Beard, K. V. (1976): Terminal velocity and shape of cloud and\n"                             \
	"       precipitation drops aloft.  J. Atmos. Sci. 33, 851-864.\n\n"

static const char velocity_doc[] =
	"settling_velocity(d, rho, /, out=None, *, where=True, **kwargs)\n\n"
	"Settling velocity of a particle in still air, by VDI 3782 Blatt 1.\n\n" PARAMETERS "Returns\n"
	"-------\n"
	"vs : scalar or ndarray\n"
	"    Settling velocity in cm/s: vs = Nre * 1462 / d, where 1462 um*cm/s\n"
	"    is the kinematic viscosity of air, 0.1462 cm^2/s, times 10^4 um/cm.\n\n"
	"See Also\n"
	"--------\n"
	"best_number, reynolds_number\n\n"
	"Notes\n"
	"-----\n"
	"The Reynolds number Nre follows from the Best number w by Stokes' law\n"
	"below w = 0.24 and by Beard's (1976) polynomial above it; see\n"
	"reynolds_number.  absink's report applies two rules that this function\n"
	"does not: it shows vs = 0 where w < 0.003 (the particle counts as not\n"
	"settling), and a warning instead of vs where Nre > 300 or\n"
	"w > beard_peak_best_number (9.1e5), where the polynomial no longer\n"
	"holds.  Apply them to the results as your use requires.\n\n" DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.settling_velocity(100, 1)\n"
	"'25.1831'\n"
	">>> sedimentation.settling_velocity([10, 100, 1000], 1)\n"
	"array([  0.30395415,  25.18314552, 399.90789795])\n";

static const char best_doc[] =
	"best_number(d, rho, /, out=None, *, where=True, **kwargs)\n\n"
	"Best (Davies) number w of a particle in still air, by VDI 3782 Blatt 1.\n\n" PARAMETERS "Returns\n"
	"-------\n"
	"w : scalar or ndarray\n"
	"    w = C_D Re^2 = 4.991e-5 * d^3 * rho, dimensionless, with d in um and\n"
	"    rho in g/cm^3.  The factor is 4 g 1e-12 / (3 rho_air nu^2) for\n"
	"    g = 980.665 cm/s^2, air of density 1.2257e-3 g/cm^3 and kinematic\n"
	"    viscosity nu = 0.1462 cm^2/s; the air's density is neglected beside\n"
	"    the particle's.  Infinite where w exceeds float32's range.\n\n"
	"See Also\n"
	"--------\n"
	"settling_velocity, reynolds_number\n\n"
	"Notes\n"
	"-----\n"
	"w depends on the particle alone and selects the regime: Stokes' law\n"
	"below 0.24.  absink's report shows vs = 0 where w < 0.003 and warns\n"
	"where w > beard_peak_best_number (9.1e5).\n\n" DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.best_number(800, 2)\n"
	"'51107.8398'\n";

static const char reynolds_doc[] =
	"reynolds_number(d, rho, /, out=None, *, where=True, **kwargs)\n\n"
	"Particle Reynolds number Nre in still air, by VDI 3782 Blatt 1.\n\n" PARAMETERS "Returns\n"
	"-------\n"
	"Nre : scalar or ndarray\n"
	"    Nre = vs d / nu, dimensionless.\n\n"
	"See Also\n"
	"--------\n"
	"settling_velocity, best_number\n\n"
	"Notes\n"
	"-----\n"
	"From the Best number w: below w = 0.24 Stokes' law, Nre = w / 24; from\n"
	"0.24 on, Beard's (1976) fit for his regime 2 (19 um to 1.07 mm water\n"
	"drops),\n\n"
	"    ln Nre = a0 + a1 X + ... + a6 X^6,  X = ln w,\n\n"
	"    a0..a6 = -3.18657, 0.992696, -1.53193e-3, -9.87059e-4,\n"
	"             -5.78878e-4, 8.55176e-5, -3.27815e-6.\n\n"
	"The polynomial rises to Nre ~ 892 at w ~ 9.1e5 (beard_peak_best_number)\n"
	"and falls beyond it, so past that w its Nre has no meaning.  absink's\n"
	"report warns instead of giving a velocity where Nre > 300 or w > 9.1e5.\n\n" DOMAIN REFERENCES
	"Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.reynolds_number(1000, 2)\n"
	"'413.8116'\n";

static struct PyModuleDef module = {
	PyModuleDef_HEAD_INIT,
	.m_name = "sedimentation._ufuncs",
	.m_doc = "The settling-velocity model as numpy ufuncs; see the package sedimentation.",
	.m_size = -1,
};

/* Adds value to the module m as name, taking over its reference; 0 on
 * success, -1 with the exception set (also where value is NULL). */
static int add(PyObject *m, const char *name, PyObject *value)
{
	if (value == NULL)
		return -1;
	if (PyModule_AddObject(m, name, value) < 0) {
		Py_DECREF(value);
		return -1;
	}
	return 0;
}

/* A ufunc of (d, rho) with numpy's own machinery; numpy keeps the
 * pointers, so data and doc are static. */
static PyObject *ufunc(void **data, const char *name, const char *doc)
{
	return PyUFunc_FromFuncAndData(loops, data, types, 2, 2, 1, PyUFunc_None, name, doc, 0);
}

PyMODINIT_FUNC PyInit__ufuncs(void)
{
	import_array();
	import_umath();
	PyObject *m = PyModule_Create(&module);
	if (m == NULL)
		return NULL;
	if (add(m, "settling_velocity", ufunc(velocity_data, "settling_velocity", velocity_doc)) < 0 ||
	    add(m, "best_number", ufunc(best_data, "best_number", best_doc)) < 0 ||
	    add(m, "reynolds_number", ufunc(reynolds_data, "reynolds_number", reynolds_doc)) < 0 ||
	    add(m, "beard_peak_best_number", PyFloat_FromDouble(beard_peak_best_number)) < 0 ||
	    PyModule_AddStringConstant(m, "__version__", SEDIMENTATION_VERSION) < 0) {
		Py_DECREF(m);
		return NULL;
	}
	return m;
}
