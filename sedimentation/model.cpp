/*
 * Settling velocity by VDI 3782 Blatt 1 (new edition), and the report's
 * verdict on a result.
 *
 * Precision.  Every quantity is held in single precision and every
 * expression is evaluated in double; a value is rounded to float only where
 * the procedure says so.  Each of those places is a static_cast<float>,
 * but for w, which leaves float's range for absurd inputs and so goes
 * through to_single (single.h): a cast of a double beyond that range is
 * undefined behaviour.  Double rather than long double: long double is 80
 * bits on x86, 128 bits on AArch64 Linux and 64 bits elsewhere, so only
 * double gives the same bits on every platform.  Its 29 bits beyond float
 * make a double rounding (wide result, then float) differ from a single
 * one only in rare last-digit cases.  The library is built with
 * -ffp-contract=off, so that no compiler fuses a multiply and an add into
 * an FMA behind the reader's back.
 */
#include "sedimentation/model.hpp"
#include "sedimentation/sedimentation.h"

#include <cmath>
#include <cstdint>

settling_steps settling(float d, float rho)
{
	settling_steps s{};
	/* The product order is part of the result: ((d c) d) d, then rho. */
	s.product = static_cast<double>(d) * best_factor * d * d * rho;
	/* For absurd inputs (d^3 rho beyond about 7e42) w passes float's
	 * range and rounds to infinity. */
	s.best_number = to_single(s.product);

	/* The regime follows the unrounded product, not the rounded w. */
	s.stokes = s.product < stokes_limit;
	if (s.stokes) {
		s.reynolds_wide = static_cast<double>(s.best_number) * stokes_factor;
	} else {
		/* Beard's polynomial, by Horner's rule from a6 down.  ln w lies
		 * between ln 0.24 and about 346 here. */
		s.x = static_cast<float>(std::log(s.product));
		s.polynomial = beard[6];
		for (int k = 5; k >= 0; k--)
			s.polynomial = s.polynomial * s.x + beard[k];
		/* It never exceeds ln 892 (the polynomial's maximum): no overflow,
		 * and e^polynomial, like w/24 of a finite w, is in float's range. */
		s.reynolds_wide = std::exp(s.polynomial);
	}
	s.reynolds_number = static_cast<float>(s.reynolds_wide);
	s.velocity = static_cast<double>(s.reynolds_number) * velocity_factor / d;
	return s;
}

sedimentation_result rounded(const settling_steps &s)
{
	/* vs is below 1e16 for any positive floats: in float's range. */
	return {s.best_number, s.reynolds_number, static_cast<float>(s.velocity)};
}

sedimentation_result sedimentation_compute(float diameter, float density)
{
	return rounded(settling(diameter, density));
}

/*
 * Beyond the polynomial's peak its Nre falls below 300 again while the true
 * one lies far above it, so that rule goes first; both warnings go before
 * the zero, which no particle with a warning can have anyway.  An infinite
 * w (absurd inputs) lies beyond the peak.
 */
sedimentation_verdict sedimentation_report_verdict(sedimentation_result r)
{
	const auto w = static_cast<double>(r.best_number);
	if (w > beard_peak_best_number)
		return SEDIMENTATION_BEYOND_PEAK;
	if (r.reynolds_number > reynolds_limit)
		return SEDIMENTATION_ABOVE_REYNOLDS_LIMIT;
	if (w < settling_limit)
		return SEDIMENTATION_NOT_SETTLING;
	return SEDIMENTATION_SETTLES;
}

/*
 * The one place where a verdict becomes a velocity.  A result that the
 * model can give is told by its bits alone: w and Nre from +0 to +infinity
 * (0 to 0x7f800000), vs finite.  No comparison of floats, which would raise
 * the invalid-operation flag for a signalling NaN, and stop at a trap.
 */
float sedimentation_reported_velocity(sedimentation_result r)
{
	constexpr std::uint32_t infinity = 0x7f800000U;
	if (float_bits(r.best_number) > infinity || float_bits(r.reynolds_number) > infinity ||
	    float_bits(r.velocity) >= infinity)
		return NAN;
	switch (sedimentation_report_verdict(r)) {
	case SEDIMENTATION_SETTLES:
		return r.velocity;
	case SEDIMENTATION_NOT_SETTLING:
		return 0.0F;
	case SEDIMENTATION_ABOVE_REYNOLDS_LIMIT:
	case SEDIMENTATION_BEYOND_PEAK:
		break;
	}
	return NAN;
}

double stokes_diameter(float rho)
{
	return std::cbrt(stokes_limit / (best_factor * static_cast<double>(rho)));
}
