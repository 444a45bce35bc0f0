#ifndef SEDIMENTATION_MODEL_HPP
#define SEDIMENTATION_MODEL_HPP

/*
 * The model's constants, its rounding helper and the one computation behind
 * both entry points.  A new factor or limit of the model goes here, with
 * its derivation.  Internal to this project (the program's reader and the
 * web page use it too); not installed.
 *
 * Units: d in um, rho in g/cm^3, vs in cm/s; w and Nre are dimensionless.
 */
#include <cfloat>
#include <limits>

/*
 * Best number w = C_D * Re^2 = 4 g (rho - rho_air) d^3 / (3 rho_air nu^2),
 * with the air's density neglected beside the particle's.  For d in um
 * (10^-12 cm^3/um^3), rho in g/cm^3, g = 980.665 cm/s^2 and nu = 0.1462
 * cm^2/s the factor 4 g 10^-12 / (3 rho_air nu^2) is 4.991e-5 for an air
 * density of 1.2257e-3 g/cm^3.  Unit: 1/(um^3 g/cm^3).  Kept in double.
 */
inline constexpr double best_factor = 4.991e-05;

/* Below this w the flow round the particle is creeping: Stokes' law. */
inline constexpr double stokes_limit = 0.24;

/*
 * Stokes' law C_D = 24/Re gives Nre = w/24.  The factor is the float nearest
 * 1/24 (0.041666668), as the procedure has it, not the exact fraction.
 */
inline constexpr float stokes_factor = 0.041666668F;

/*
 * nu in um*cm/s: the kinematic viscosity of air, 0.1462 cm^2/s, times
 * 10^4 um/cm, from Nre = vs d / nu with vs in cm/s and d in um.
 */
inline constexpr double velocity_factor = 1462.0;

/*
 * Beard, K. V. (1976): Terminal velocity and shape of cloud and
 * precipitation drops aloft.  J. Atmos. Sci. 33, 851-864, regime 2
 * (19 um to 1.07 mm for water drops at sea level):
 *
 *   ln Nre = a0 + a1 X + a2 X^2 + ... + a6 X^6,   X = ln w.
 *
 * Kept in single precision as the procedure stores them, a0 first.  Where
 * the polynomial has its maximum, and so its meaning ends, is public:
 * beard_peak_best_number in sedimentation.h.
 */
inline constexpr float beard[] = {
	-3.18657F, 0.992696F, -1.53193e-3F, -9.87059e-4F, -5.78878e-4F, 8.55176e-5F, -3.27815e-6F,
};

/*
 * x rounded to single precision as IEEE 754 round-to-nearest does, without
 * casting a value beyond float's range: that cast is undefined behaviour in
 * C++.  A magnitude above FLT_MAX but below the midpoint between FLT_MAX and
 * 2^128 becomes FLT_MAX; from the midpoint on (the tie goes to the even
 * 2^128) it becomes infinity.
 */
inline float to_single(double x)
{
	constexpr double midpoint = 0x1.ffffffp127;
	const bool negative = x < 0;
	const double magnitude = negative ? -x : x;
	if (!(magnitude > FLT_MAX))
		return static_cast<float>(x); /* in range, or NaN */
	const float r = magnitude >= midpoint ? std::numeric_limits<float>::infinity() : FLT_MAX;
	return negative ? -r : r;
}

/*
 * One particle's results with the velocity still unrounded:
 * sedimentation_velocity hands it on as it is, sedimentation_compute rounds
 * it.  Hidden in the shared library, so that the call from one object file
 * to the other is a direct one.
 */
struct unrounded_result {
	float best_number;     /* w, rounded to float */
	float reynolds_number; /* Nre, rounded to float */
	double velocity;       /* vs in cm/s, unrounded */
	bool stokes;           /* whether Stokes' law gave Nre, else Beard's polynomial */
};

unrounded_result settling(float d, float rho);

#endif
