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
#include "sedimentation/model.hpp"
#include "sedimentation/sedimentation.h"

#include <cmath>

namespace {

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

unrounded_result settling(float d, float rho)
{
	/* The product order is part of the result: ((d c) d) d, then rho. */
	const double w = static_cast<double>(d) * best_factor * d * d * rho;
	/* For absurd inputs (d^3 rho beyond about 7e42) w passes float's
	 * range and rounds to infinity. */
	const float w_single = to_single(w);

	/* The regime follows the unrounded product, not the rounded w. */
	const bool stokes = w < stokes_limit;
	float nre;
	if (stokes)
		nre = static_cast<float>(static_cast<double>(w_single) * stokes_factor);
	else
		nre = beard_reynolds_number(w);

	return {w_single, nre, static_cast<double>(nre) * velocity_factor / d, stokes};
}

sedimentation_result sedimentation_compute(float diameter, float density)
{
	const unrounded_result r = settling(diameter, density);
	/* vs is below 1e16 for any positive floats: in float's range. */
	return {r.best_number, r.reynolds_number, static_cast<float>(r.velocity)};
}
