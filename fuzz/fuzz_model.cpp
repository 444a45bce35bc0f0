/*
 * sedimentation_velocity over arbitrary positive finite float pairs, and
 * the model backwards over arbitrary float pairs.
 *
 * With invalid-operation, division-by-zero and overflow traps enabled
 * around the call, any NaN, any division by zero and any rounding past
 * float's range ends the run.  The results must be non-negative and finite
 * (w alone may be infinite), the velocity must fit a float, and Nre must
 * come from the regime that the unrounded product w selects.
 * sedimentation_compute must give the same three values.  Under the same
 * traps: outside the domain (a NaN, an infinity, zero or below) the
 * inverse functions give NaN; inside it the aerodynamic diameter's twin
 * settles as fast as the particle within 1e-6, and a velocity that the
 * report gives is found again, at a diameter that settles at it within
 * 1e-6.
 */
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "sedimentation/sedimentation.h"

namespace {

/* Nre by each regime, recomputed in long double from the unrounded w. */
float stokes(float w)
{
	return static_cast<float>(static_cast<long double>(w) * 0.041666668F);
}

long double beard(float x)
{
	static const long double a[] = {-3.18657F,    0.992696F,   -1.53193e-3F, -9.87059e-4F,
					-5.78878e-4F, 8.55176e-5F, -3.27815e-6F};
	long double y = 0;
	for (int k = 6; k >= 0; k--)
		y = y * x + a[k];
	return std::exp(y);
}

/* Beard's Nre for ln w rounded to float, within 1e-5, allowing for that
 * rounding to fall on either neighbour: at large ln w one step of X moves
 * Nre by more than the tolerance. */
bool near_beard(float nre, long double w)
{
	const float x = static_cast<float>(std::log(w));
	for (const float xi : {std::nextafter(x, -INFINITY), x, std::nextafter(x, INFINITY)}) {
		const long double want = beard(xi);
		if (std::fabs(nre - want) <= 1e-5L * want + 1e-37L)
			return true;
	}
	return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	float d = 0;
	float rho = 0;
	if (size < 2 * sizeof(float))
		return 0;
	std::memcpy(&d, data, sizeof d);
	std::memcpy(&rho, data + sizeof d, sizeof rho);
	if (!(d > 0 && rho > 0 && d <= FLT_MAX && rho <= FLT_MAX)) {
		feclearexcept(FE_ALL_EXCEPT);
		feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
		const bool quiet = std::isnan(sedimentation_aerodynamic_diameter(d, rho)) &&
				   std::isnan(sedimentation_settling_diameter(d, rho));
		fedisableexcept(FE_ALL_EXCEPT);
		if (!quiet)
			std::abort();
		return 0;
	}

	feclearexcept(FE_ALL_EXCEPT);
	feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
	const double vs = sedimentation_velocity(d, rho);
	const sedimentation_result pure = sedimentation_compute(d, rho);
	fedisableexcept(FE_ALL_EXCEPT);

	const float w = best_number;
	const float nre = reynolds_number;
	if (!(w >= 0) || !(nre >= 0 && nre <= FLT_MAX) || !(vs >= 0 && vs < 1e16))
		std::abort();

	/* The pure interface and the one with globals are one computation. */
	if (pure.best_number != w || pure.reynolds_number != nre || pure.velocity != static_cast<float>(vs))
		std::abort();

	const bool settles = sedimentation_report_verdict(pure) == SEDIMENTATION_SETTLES;
	feclearexcept(FE_ALL_EXCEPT);
	feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
	const float da = sedimentation_aerodynamic_diameter(d, rho);
	const float found = settles ? sedimentation_settling_diameter(pure.velocity, rho) : 0.0F;
	fedisableexcept(FE_ALL_EXCEPT);
	const auto off = [&](float diameter, float density) {
		const double v = sedimentation_compute(diameter, density).velocity;
		return std::fabs(v / static_cast<double>(pure.velocity) - 1.0) > 1e-6;
	};
	if (!std::isnan(da) && off(da, 1.0F))
		std::abort();
	if (settles && (std::isnan(found) || off(found, rho)))
		std::abort();

	/* Away from the switch by more than the rounding of either product
	 * the regime is plain; the switch itself is the model's own test. */
	const long double wide = static_cast<long double>(d) * 4.991e-05 * d * d * rho;
	if (wide < 0.24L * (1 - 1e-12L)) {
		if (nre != stokes(w))
			std::abort();
	} else if (wide > 0.24L * (1 + 1e-12L)) {
		if (!near_beard(nre, wide))
			std::abort();
	}
	return 0;
}
