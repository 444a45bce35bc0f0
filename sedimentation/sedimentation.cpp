/*
 * Settling velocity by VDI 3782 Blatt 1 (new edition).
 *
 * Precision.  Every quantity is held in single precision and every
 * expression is evaluated in double; a value is rounded to float only where
 * the procedure says so, and each of those places is a static_cast<float>.
 * Double rather than long double: long double is 80 bits on x86, 128 bits on
 * AArch64 Linux and 64 bits elsewhere, so only double gives the same bits on
 * every platform.  Its 29 bits beyond float make a double rounding (wide
 * result, then float) differ from a single one only in rare last-digit cases.
 * The library is built with -ffp-contract=off, so that no compiler fuses a
 * multiply and an add into an FMA behind the reader's back.
 */
#include "sedimentation/sedimentation.h"
#include "sedimentation/compute.hpp"
#include "sedimentation/regime.hpp"
#include "sedimentation/single.hpp"

#include <cmath>

namespace {

/*
 * Stokes' law C_D = 24/Re gives Nre = w/24.  The factor is the float nearest
 * 1/24 (0.041666668), as the procedure has it, not the exact fraction.
 */
constexpr float stokes_factor = 0.041666668F;

/*
 * nu in um*cm/s: the kinematic viscosity of air, 0.1462 cm^2/s, times
 * 10^4 um/cm, from Nre = vs d / nu with vs in cm/s and d in um.
 */
constexpr double velocity_factor = 1462.0;

/*
 * Beard, K. V. (1976): Terminal velocity and shape of cloud and
 * precipitation drops aloft.  J. Atmos. Sci. 33, 851-864, regime 2
 * (19 um to 1.07 mm for water drops at sea level):
 *
 *   ln Nre = a0 + a1 X + a2 X^2 + ... + a6 X^6,   X = ln w.
 *
 * Kept in single precision as the procedure stores them, a0 first.
 */
constexpr float beard[] = {
	-3.18657F, 0.992696F, -1.53193e-3F, -9.87059e-4F, -5.78878e-4F, 8.55176e-5F, -3.27815e-6F,
};

/* Nre by Beard's polynomial, evaluated by Horner's rule from a6 down. */
float beard_reynolds_number(double w)
{
	/* ln w lies between ln 0.24 and about 346 here. */
	const float x = static_cast<float>(std::log(w));
	double y = beard[6];
	for (int k = 5; k >= 0; k--)
		y = y * x + beard[k];
	/* y never exceeds ln 892 (the polynomial's maximum): no overflow. */
	return static_cast<float>(std::exp(y));
}

} // namespace

wide_result sedimentation_wide(float d, float rho)
{
	/* The product order is part of the result: ((d c) d) d, then rho. */
	const double w = static_cast<double>(d) * best_factor * d * d * rho;
	/* For absurd inputs (d^3 rho beyond about 7e42) w passes float's
	 * range and rounds to infinity. */
	const float w_single = to_single(w);

	/* The regime follows the unrounded product, not the rounded w. */
	float nre;
	if (w < stokes_limit)
		nre = static_cast<float>(static_cast<double>(w_single) * stokes_factor);
	else
		nre = beard_reynolds_number(w);

	return {w_single, nre, static_cast<double>(nre) * velocity_factor / d};
}

sedimentation_result sedimentation_compute(float diameter, float density)
{
	const wide_result r = sedimentation_wide(diameter, density);
	/* vs is below 1e16 for any positive floats: in float's range. */
	return {r.w, r.nre, static_cast<float>(r.vs)};
}
