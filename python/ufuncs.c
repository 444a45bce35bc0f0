/*
 * sedimentation._ufuncs: the model as numpy ufuncs, one per result, so that
 * arrays, broadcasting, out= and where= work as for any ufunc, and dask and
 * xarray can take them (dask refuses ufuncs with several outputs).
 *
 * Each element is one call of the library (sedimentation_compute, and
 * sedimentation_report_verdict, sedimentation_reported_velocity, the
 * inverse sedimentation_settling_diameter or
 * sedimentation_aerodynamic_diameter, and TA Luft's size class,
 * sedimentation_size_class of an aerodynamic diameter, the one ufunc of one
 * input, or sedimentation_particle_size_class); none keeps state: numpy runs these
 * loops without the GIL.  The module only binds: it solves nothing itself.
 * The float32 loop hands the library the values as they are; the float64
 * loop first rounds each input to the nearest float32, as absink rounds
 * what it reads, and returns the library's single-precision result
 * widened, so that '%.4f' prints the report's digits.
 *
 * The domain is 0 < x1, x2 <= FLT_MAX (after that rounding).  Outside it
 * the result is NaN (the verdict -1) and the invalid-operation flag is
 * raised, which numpy turns into its "invalid value" warning, as for
 * np.log(-1); a NaN input gives NaN and no flag.  Where the report warns,
 * or no diameter settles at a velocity, the result is NaN without the
 * flag: that is the report's answer, not an invalid input.
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <fenv.h>
#include <float.h>
#include <math.h>
#include <stdint.h>
#include <string.h>

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#include <numpy/ndarraytypes.h>
#include <numpy/ufuncobject.h>

#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"
#include "sedimentation/size_classes.h"

/*
 * Whether an element lies outside the domain (0, FLT_MAX] in either input:
 * NaN gives 1 quietly, anything else outside raises the invalid flag.
 */
static int outside(float a, float b)
{
	if (isnan(a) || isnan(b))
		return 1;
	if (!(a > 0.0F && a <= FLT_MAX && b > 0.0F && b <= FLT_MAX)) {
		feraiseexcept(FE_INVALID);
		return 1;
	}
	return 0;
}

static float velocity(float d, float rho)
{
	return outside(d, rho) ? NAN : sedimentation_compute(d, rho).velocity;
}

static float best(float d, float rho)
{
	return outside(d, rho) ? NAN : sedimentation_compute(d, rho).best_number;
}

static float reynolds(float d, float rho)
{
	return outside(d, rho) ? NAN : sedimentation_compute(d, rho).reynolds_number;
}

/* The verdict as the C enum has it, -1 outside the domain. */
static int8_t verdict(float d, float rho)
{
	if (outside(d, rho))
		return -1;
	return (int8_t)sedimentation_report_verdict(sedimentation_compute(d, rho));
}

/* The velocity as absink's report gives it: 0 where the particle counts as
 * not settling, NaN where it warns. */
static float reported(float d, float rho)
{
	return outside(d, rho) ? NAN : sedimentation_reported_velocity(sedimentation_compute(d, rho));
}

static float diameter(float vs, float rho)
{
	return outside(vs, rho) ? NAN : sedimentation_settling_diameter(vs, rho);
}

static float aerodynamic(float d, float rho)
{
	return outside(d, rho) ? NAN : sedimentation_aerodynamic_diameter(d, rho);
}

/* TA Luft's size class of a particle as the library decides it, -1
 * outside the domain. */
static int8_t particle_class(float d, float rho)
{
	return outside(d, rho) ? -1 : (int8_t)sedimentation_particle_size_class(d, rho);
}

/*
 * The loops: numpy hands each operand as bytes with a stride.  Elements
 * are copied in and out with memcpy, which compilers make a plain load or
 * store, and which needs no alignment.  Each ufunc has its own pair, so
 * that its element is inlined: LOOPS(name, element, the float32 loop's
 * result type, the float64 loop's).
 */
#define LOOPS(name, element, ftype, dtype)                                                                   \
	static void name##_float(char **args, const npy_intp *n, const npy_intp *steps, void *data)          \
	{                                                                                                    \
		(void)data;                                                                                  \
		for (npy_intp i = 0; i < n[0]; i++) {                                                        \
			float a, b;                                                                          \
			memcpy(&a, args[0] + i * steps[0], sizeof a);                                        \
			memcpy(&b, args[1] + i * steps[1], sizeof b);                                        \
			const ftype value = element(a, b);                                                   \
			memcpy(args[2] + i * steps[2], &value, sizeof value);                                \
		}                                                                                            \
	}                                                                                                    \
	static void name##_double(char **args, const npy_intp *n, const npy_intp *steps, void *data)         \
	{                                                                                                    \
		(void)data;                                                                                  \
		for (npy_intp i = 0; i < n[0]; i++) {                                                        \
			double a, b;                                                                         \
			memcpy(&a, args[0] + i * steps[0], sizeof a);                                        \
			memcpy(&b, args[1] + i * steps[1], sizeof b);                                        \
			const dtype value = element(to_single(a), to_single(b));                             \
			memcpy(args[2] + i * steps[2], &value, sizeof value);                                \
		}                                                                                            \
	}                                                                                                    \
	static PyUFuncGenericFunction name##_loops[] = {name##_float, name##_double};

LOOPS(velocity, velocity, float, double)
LOOPS(best, best, float, double)
LOOPS(reynolds, reynolds, float, double)
LOOPS(reported, reported, float, double)
LOOPS(diameter, diameter, float, double)
LOOPS(aerodynamic, aerodynamic, float, double)
LOOPS(verdict, verdict, int8_t, int8_t)
LOOPS(particle_class, particle_class, int8_t, int8_t)

/* The one ufunc of one input, TA Luft's class of an aerodynamic diameter:
 * the library's rule takes any value (0 for NaN and what is not above
 * zero), so there is no domain to check. */
static void size_class_float(char **args, const npy_intp *n, const npy_intp *steps, void *data)
{
	(void)data;
	for (npy_intp i = 0; i < n[0]; i++) {
		float da;
		memcpy(&da, args[0] + i * steps[0], sizeof da);
		const int8_t value = (int8_t)sedimentation_size_class(da);
		memcpy(args[1] + i * steps[1], &value, sizeof value);
	}
}
static void size_class_double(char **args, const npy_intp *n, const npy_intp *steps, void *data)
{
	(void)data;
	for (npy_intp i = 0; i < n[0]; i++) {
		double da;
		memcpy(&da, args[0] + i * steps[0], sizeof da);
		const int8_t value = (int8_t)sedimentation_size_class(to_single(da));
		memcpy(args[1] + i * steps[1], &value, sizeof value);
	}
}
static PyUFuncGenericFunction size_class_loops[] = {size_class_float, size_class_double};

/* One loop per dtype; numpy picks the first that the inputs cast to
 * safely, so integers up to 16 bits and float16 take float32, the rest
 * float64.  The verdict is int8 from both. */
static char float_types[] = {NPY_FLOAT, NPY_FLOAT, NPY_FLOAT, NPY_DOUBLE, NPY_DOUBLE, NPY_DOUBLE};
static char verdict_types[] = {NPY_FLOAT, NPY_FLOAT, NPY_INT8, NPY_DOUBLE, NPY_DOUBLE, NPY_INT8};
static char size_class_types[] = {NPY_FLOAT, NPY_INT8, NPY_DOUBLE, NPY_INT8};
static void *no_data[] = {NULL, NULL};

/*
 * The docstrings, after the signature line that numpy writes above each,
 * name(x1, x2, /, out=None, *, where=True, ...): its x1 and x2 are named
 * here, in scipy.special's sections.  Every example is run by the tests.
 */
#define PARTICLE                                                                                             \
	"Parameters\n"                                                                                       \
	"----------\n"                                                                                       \
	"x1 : array_like\n"                                                                                  \
	"    d, the particle diameter in micrometres (um), 0 < d <= 3.4028235e38.\n"                         \
	"x2 : array_like\n"                                                                                  \
	"    rho, the particle density in g/cm^3, 0 < rho <= 3.4028235e38.\n"                                \
	"out, where, **kwargs\n"                                                                             \
	"    As for any ufunc.\n\n"

#define DOMAIN                                                                                               \
	"A float64 input is first rounded to the nearest float32, as absink\n"                               \
	"rounds what it reads, and the result is the library's single-precision\n"                           \
	"value (widened in a float64 result), so '%.4f' % value prints absink's\n"                           \
	"digits.  Outside the domain the result is NaN with numpy's \"invalid\n"                             \
	"value\" warning (an error under np.errstate(invalid='raise')); a NaN\n"                             \
	"input gives NaN without a warning.\n\n"

#define RULES                                                                                                \
	"absink's report applies three rules to a result, which verdict and\n"                               \
	"reported_velocity give: a warning instead of vs where\n"                                            \
	"w > beard_peak_best_number (9.1e5, past the polynomial's maximum) or\n"                             \
	"Nre > 300 (where Beard's regime 2 ends), and vs = 0 where w < 0.003 (the\n"                         \
	"particle counts as not settling).\n\n"

#define REFERENCES                                                                                           \
	"References\n"                                                                                       \
	"----------\n"                                                                                       \
	".. [1] VDI 3782 Blatt 1: Umweltmeteorologie - Atmosphaerische\n"                                    \
	"       Ausbreitungsmodelle - Gauss'sches Fahnenmodell zur Bestimmung\n"                             \
	"       von Immissionskenngroessen (new edition).\n"                                                 \
	".. [2] Beard, K. V. (1976): Terminal velocity and shape of cloud and\n"                             \
	"       precipitation drops aloft.  J. Atmos. Sci. 33, 851-864.\n\n"

static const char velocity_doc[] =
	"Settling velocity of a particle in still air, by VDI 3782 Blatt 1.\n\n" PARTICLE "Returns\n"
	"-------\n"
	"vs : scalar or ndarray\n"
	"    Settling velocity in cm/s: vs = Nre * 1462 / d, where 1462 um*cm/s\n"
	"    is the kinematic viscosity of air, 0.1462 cm^2/s, times 10^4 um/cm.\n\n"
	"See Also\n"
	"--------\n"
	"best_number, reynolds_number, reported_velocity, settling_diameter\n\n"
	"Notes\n"
	"-----\n"
	"The Reynolds number Nre follows from the Best number w by Stokes' law\n"
	"below w = 0.24 and by Beard's (1976) polynomial above it; see\n"
	"reynolds_number.  " RULES DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.settling_velocity(100, 1)\n"
	"'25.1831'\n"
	">>> ['%.4f' % v for v in sedimentation.settling_velocity([10, 100, 1000], 1)]\n"
	"['0.3040', '25.1831', '399.9079']\n";

static const char best_doc[] =
	"Best (Davies) number w of a particle in still air, by VDI 3782 Blatt 1.\n\n" PARTICLE "Returns\n"
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
	"below 0.24.  " RULES DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.best_number(800, 2)\n"
	"'51107.8398'\n";

static const char reynolds_doc[] =
	"Particle Reynolds number Nre in still air, by VDI 3782 Blatt 1.\n\n" PARTICLE "Returns\n"
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
	"and falls beyond it, so past that w its Nre has no meaning.  " RULES DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> '%.4f' % sedimentation.reynolds_number(1000, 2)\n"
	"'413.8116'\n";

static const char verdict_doc[] =
	"What absink's report makes of a particle, as the library's verdict.\n\n" PARTICLE "Returns\n"
	"-------\n"
	"verdict : int8 scalar or ndarray\n"
	"    The C library's enum sedimentation_verdict, whose values the module\n"
	"    names in Verdict: 0 SETTLES (the report gives vs), 1 NOT_SETTLING\n"
	"    (w < 0.003: vs = 0), 2 ABOVE_REYNOLDS_LIMIT (Nre > 300: a warning\n"
	"    instead of vs), 3 BEYOND_PEAK (w > 9.1e5: a warning instead of vs);\n"
	"    -1 outside the domain.\n\n"
	"See Also\n"
	"--------\n"
	"reported_velocity, Verdict\n\n"
	"Notes\n"
	"-----\n"
	"The rules are applied in this order: beyond the peak first (past it\n"
	"the polynomial's Nre falls below 300 again), then Nre > 300, then the\n"
	"zero.  The beyond-peak rule is absink's own, not the guideline's.\n\n"
	"Outside the domain the verdict is -1 with numpy's \"invalid value\"\n"
	"warning; a NaN input gives -1 without a warning.\n\n" REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> sedimentation.verdict([100, 3, 1000, 5000], [1, 1, 2, 1])\n"
	"array([0, 1, 2, 3], dtype=int8)\n"
	">>> sedimentation.Verdict(sedimentation.verdict(5000, 1))\n"
	"<Verdict.BEYOND_PEAK: 3>\n";

static const char reported_doc[] =
	"Settling velocity as absink's report gives it.\n\n" PARTICLE "Returns\n"
	"-------\n"
	"vs : scalar or ndarray\n"
	"    settling_velocity where the report gives it, 0.0 where the\n"
	"    particle counts as not settling (w < 0.003), and NaN where the\n"
	"    report warns instead (Nre > 300, or w > 9.1e5), without numpy's\n"
	"    warning: that is the report's answer, not an invalid input.\n\n"
	"See Also\n"
	"--------\n"
	"settling_velocity, verdict\n\n"
	"Notes\n"
	"-----\n" DOMAIN REFERENCES "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> ['%.4f' % v for v in sedimentation.reported_velocity([100, 3, 1000], [1, 1, 2])]\n"
	"['25.1831', '0.0000', 'nan']\n";

#define INVERSE                                                                                              \
	"The C library's sedimentation_settling_diameter: the model's velocity\n"                            \
	"rises with the diameter wherever the report gives one, so the secant\n"                             \
	"method in ln d, kept in a bracket, and a walk over the neighbouring\n"                              \
	"float32 diameters find one whose velocity lies nearest, nearer than\n"                              \
	"either neighbour's, in some ten evaluations of the library's own\n"                                 \
	"model.  The result is found to float resolution, with nothing but the\n"                            \
	"model itself.\n\n"

static const char diameter_doc[] =
	"Diameter at which a particle settles at a given velocity: the inverse\n"
	"of settling_velocity.\n\n"
	"Parameters\n"
	"----------\n"
	"x1 : array_like\n"
	"    vs, the settling velocity in cm/s, 0 < vs <= 3.4028235e38.\n"
	"x2 : array_like\n"
	"    rho, the particle density in g/cm^3, 0 < rho <= 3.4028235e38.\n"
	"out, where, **kwargs\n"
	"    As for any ufunc.\n\n"
	"Returns\n"
	"-------\n"
	"d : scalar or ndarray\n"
	"    The diameter in um.\n\n"
	"See Also\n"
	"--------\n"
	"settling_velocity, aerodynamic_diameter\n\n"
	"Notes\n"
	"-----\n" INVERSE "settling_velocity gives vs back to within 1e-6, relative.  Where no\n"
	"diameter with the verdict SETTLES has that velocity (below w = 0.003,\n"
	"or where the report warns), the result is NaN without a warning.\n\n" DOMAIN "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> d = sedimentation.settling_diameter(100, 1)  # 1 m/s, water\n"
	">>> '%.2f' % d\n"
	"'266.85'\n"
	">>> '%.4f' % sedimentation.settling_velocity(d, 1)\n"
	"'100.0000'\n";

static const char aerodynamic_doc[] =
	"Aerodynamic diameter: that of a sphere of 1 g/cm^3 that settles as\n"
	"fast by the same model, the particle's unit-density twin.\n\n" PARTICLE "Returns\n"
	"-------\n"
	"d_a : scalar or ndarray\n"
	"    The twin's diameter in um.\n\n"
	"See Also\n"
	"--------\n"
	"settling_diameter\n\n"
	"Notes\n"
	"-----\n"
	"It follows the model's velocity, not the report's rules: below\n"
	"w = 0.003, where the report gives vs = 0, the particle has one all the\n"
	"same.  In Stokes' law (vs ~ d^2 rho) it is d sqrt(rho).  It is NaN\n"
	"without a warning where the particle or its twin lies beyond Nre 300\n"
	"or beyond the polynomial's peak, where the report warns.  The twin is\n"
	"the C library's sedimentation_aerodynamic_diameter, the inverse at\n"
	"density 1 of the particle's velocity.  " INVERSE DOMAIN "Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> ['%.4f' % d for d in sedimentation.aerodynamic_diameter([2.5, 2, 10], [1, 2.65, 2.65])]\n"
	"['2.5000', '3.2558', '16.2788']\n";

#define CLASSES                                                                                              \
	"TA Luft 2002, Anhang 3, Nr. 4, Tabelle 13 names its classes of\n"                                   \
	"aerodynamic diameter \"kleiner 2,5\", \"2,5 bis 10\", \"10 bis 50\" and\n"                          \
	"\"groesser 50\" (um); read as written, 2.5 and 10 belong to the class\n"                            \
	"above, 50 to class 3.  The class is that of da as absink prints it, to\n"                           \
	"four places ('%.4f'): 9.99995 prints as 10.0000 and is class 3.  Classes\n"                         \
	"1 and 2 are PM10, class 1 PM2.5.  The C library's\n"

static const char size_class_doc[] =
	"TA Luft's size class of dust, 1 to 4, of an aerodynamic diameter.\n\n"
	"Parameters\n"
	"----------\n"
	"x : array_like\n"
	"    d_a, the aerodynamic diameter in um (float64 first rounded to\n"
	"    float32, as absink rounds what it reads).\n"
	"out, where, **kwargs\n"
	"    As for any ufunc.\n\n"
	"Returns\n"
	"-------\n"
	"class : int8 scalar or ndarray\n"
	"    1 to 4; 0 for NaN (no aerodynamic diameter), zero or a negative\n"
	"    value, without a warning.\n\n"
	"See Also\n"
	"--------\n"
	"particle_size_class, aerodynamic_diameter\n\n"
	"Notes\n"
	"-----\n" CLASSES "sedimentation_size_class.\n\n"
	"Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> sedimentation.size_class([2.4999, 2.5, 9.99995, 50, 50.0001, float('nan')])\n"
	"array([1, 2, 3, 3, 4, 0], dtype=int8)\n";

static const char particle_class_doc[] =
	"TA Luft's size class of dust, 1 to 4, of a particle.\n\n" PARTICLE "Returns\n"
	"-------\n"
	"class : int8 scalar or ndarray\n"
	"    size_class of the particle's aerodynamic_diameter; 4 where it has\n"
	"    none because its twin would lie beyond Nre 300 (it settles faster\n"
	"    than any sphere of 1 g/cm^3 the model covers, so its aerodynamic\n"
	"    diameter lies above 50 um); 0 where no class follows (the report\n"
	"    warns for the particle itself, or its velocity underflows); -1\n"
	"    outside the domain.\n\n"
	"See Also\n"
	"--------\n"
	"size_class, aerodynamic_diameter\n\n"
	"Notes\n"
	"-----\n" CLASSES "sedimentation_particle_size_class, which the web page uses too.\n\n"
	"Outside the domain the class is -1 with numpy's \"invalid value\"\n"
	"warning; a NaN input gives -1 without a warning.\n\n"
	"Examples\n"
	"--------\n"
	">>> import sedimentation\n"
	">>> sedimentation.particle_size_class([1, 2, 10, 100, 700], 2.65)  # quartz dust\n"
	"array([1, 2, 3, 4, 4], dtype=int8)\n";

/*
 * _class_split(sizes, values, density, residue): the C library's
 * sedimentation_class_split of two sequences of numbers, each rounded to
 * float32 as absink rounds what it reads (a magnitude beyond float32's
 * range is no size: the library names it); a tuple (status, index,
 * message, limits, fractions, low, high).  The package's class_split
 * wraps it.
 */
static PyObject *floats_tuple(const float *v, int n)
{
	PyObject *t = PyTuple_New(n);
	for (int k = 0; t != NULL && k < n; k++) {
		PyObject *x = PyFloat_FromDouble((double)v[k]);
		if (x == NULL) {
			Py_DECREF(t);
			return NULL;
		}
		PyTuple_SET_ITEM(t, k, x);
	}
	return t;
}

/* A sequence as float32 values in a buffer of the module's; NULL with the
 * exception set. */
static float *as_floats(PyObject *sequence, int *n)
{
	PyArrayObject *a = (PyArrayObject *)PyArray_FROMANY(sequence, NPY_DOUBLE, 1, 1, NPY_ARRAY_CARRAY);
	if (a == NULL)
		return NULL;
	const npy_intp size = PyArray_SIZE(a);
	*n = size > sedimentation_split_most ? sedimentation_split_most + 1 : (int)size;
	float *out = PyMem_Malloc(sizeof(float) * (size_t)(*n + 1));
	const double *in = (const double *)PyArray_DATA(a);
	for (int k = 0; out != NULL && k < *n; k++)
		out[k] = to_single(in[k]);
	Py_DECREF(a);
	if (out == NULL)
		PyErr_NoMemory();
	return out;
}

static PyObject *class_split(PyObject *self, PyObject *args)
{
	(void)self;
	PyObject *sizes_in, *values_in;
	double density;
	int residue;
	if (!PyArg_ParseTuple(args, "OOdp", &sizes_in, &values_in, &density, &residue))
		return NULL;
	int n_sizes = 0, n_values = 0;
	float *sizes = as_floats(sizes_in, &n_sizes);
	float *values = sizes == NULL ? NULL : as_floats(values_in, &n_values);
	if (values == NULL) {
		PyMem_Free(sizes);
		return NULL;
	}
	const struct sedimentation_split s =
		sedimentation_class_split(sizes, n_sizes, values, n_values, to_single(density), residue);
	PyMem_Free(sizes);
	PyMem_Free(values);
	return Py_BuildValue(
		"iisNNNN", s.status, s.index, sedimentation_split_message(s.status),
		floats_tuple(s.limits, 3), floats_tuple(s.fractions, 4), floats_tuple(s.low, 4),
		floats_tuple(s.high, 4));
}

static PyMethodDef methods[] = {
	{"_class_split", class_split, METH_VARARGS, "The C library's sedimentation_class_split."},
	{NULL, NULL, 0, NULL},
};

static struct PyModuleDef module = {
	PyModuleDef_HEAD_INIT,
	.m_name = "sedimentation._ufuncs",
	.m_doc = "The settling-velocity model as numpy ufuncs; see the package sedimentation.",
	.m_size = -1,
	.m_methods = methods,
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

/* A ufunc of two inputs and one output with numpy's own machinery; numpy
 * keeps the pointers, so they are static. */
static PyObject *ufunc(PyUFuncGenericFunction *loops, char *types, const char *name, const char *doc)
{
	return PyUFunc_FromFuncAndData(loops, no_data, types, 2, 2, 1, PyUFunc_None, name, doc, 0);
}

PyMODINIT_FUNC PyInit__ufuncs(void)
{
	import_array();
	import_umath();
	PyObject *m = PyModule_Create(&module);
	if (m == NULL)
		return NULL;
	if (add(m, "settling_velocity",
		ufunc(velocity_loops, float_types, "settling_velocity", velocity_doc)) < 0 ||
	    add(m, "best_number", ufunc(best_loops, float_types, "best_number", best_doc)) < 0 ||
	    add(m, "reynolds_number", ufunc(reynolds_loops, float_types, "reynolds_number", reynolds_doc)) <
		    0 ||
	    add(m, "verdict", ufunc(verdict_loops, verdict_types, "verdict", verdict_doc)) < 0 ||
	    add(m, "reported_velocity",
		ufunc(reported_loops, float_types, "reported_velocity", reported_doc)) < 0 ||
	    add(m, "settling_diameter",
		ufunc(diameter_loops, float_types, "settling_diameter", diameter_doc)) < 0 ||
	    add(m, "aerodynamic_diameter",
		ufunc(aerodynamic_loops, float_types, "aerodynamic_diameter", aerodynamic_doc)) < 0 ||
	    add(m, "particle_size_class",
		ufunc(particle_class_loops, verdict_types, "particle_size_class", particle_class_doc)) < 0 ||
	    add(m, "size_class",
		PyUFunc_FromFuncAndData(
			size_class_loops, no_data, size_class_types, 2, 1, 1, PyUFunc_None, "size_class",
			size_class_doc, 0)) < 0 ||
	    add(m, "beard_peak_best_number", PyFloat_FromDouble(beard_peak_best_number)) < 0 ||
	    /* TA Luft's limits between its size classes of dust, in um */
	    add(m, "ta_luft_limits",
		Py_BuildValue("(ddd)", ta_luft_limits[0], ta_luft_limits[1], ta_luft_limits[2])) < 0 ||
	    PyModule_AddStringConstant(m, "ta_luft_source", TA_LUFT_SOURCE) < 0 ||
	    /* The verdict's values, which sedimentation.Verdict names, from the C enum. */
	    PyModule_AddIntConstant(m, "SETTLES", SEDIMENTATION_SETTLES) < 0 ||
	    PyModule_AddIntConstant(m, "NOT_SETTLING", SEDIMENTATION_NOT_SETTLING) < 0 ||
	    PyModule_AddIntConstant(m, "ABOVE_REYNOLDS_LIMIT", SEDIMENTATION_ABOVE_REYNOLDS_LIMIT) < 0 ||
	    PyModule_AddIntConstant(m, "BEYOND_PEAK", SEDIMENTATION_BEYOND_PEAK) < 0 ||
	    PyModule_AddStringConstant(m, "__version__", SEDIMENTATION_VERSION) < 0) {
		Py_DECREF(m);
		return NULL;
	}
	return m;
}
