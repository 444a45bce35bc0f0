/*
 * TA Luft's size class of an aerodynamic diameter, and of a particle: the
 * one place that decides it, for absink's page, the Python module and
 * every caller of the library.  The limits, which class a limit belongs to
 * and the source are in size_classes.h.
 */
#include "sedimentation/inverse.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"
#include "sedimentation/size_classes.h"

#include <cmath>

/*
 * The class of da as absink prints it, "%.4f": da in units of 10^-4 um,
 * rounded to the nearest, is compared with each limit in the same unit.
 * No float lies half a unit from a limit (2.49995, 9.99995 and 50.00005
 * are no sums of powers of two), so how a printf breaks ties does not
 * matter here, and the product in double is exact enough for any float.
 * nearbyint raises no inexact flag.
 */
int sedimentation_size_class(float da)
{
	/* 0 < da <= infinity by the bits, which raise no flag for a
	 * signalling NaN. */
	if (float_bits(da) - 1U >= 0x7f800000U)
		return 0;
	const double printed =
		std::nearbyint(static_cast<double>(da) * 1e4); /* rounding point: four places */
	int size_class = 1;
	for (int k = 0; k < ta_luft_classes - 1; k++) {
		const double limit = ta_luft_limits[k] * 1e4;
		if (printed > limit || (printed == limit && ta_luft_limit_goes_up[k] != 0))
			size_class = k + 2;
	}
	return size_class;
}

/*
 * A twin beyond Nre 300 settles faster than every sphere of 1 g/cm^3 the
 * report covers, the largest of which is 1051 um: so it lies above the
 * last limit, 50 um, and its class is the last, though its diameter is
 * not given.
 */
int size_class_of(const twin &t)
{
	if (t.status == twin_status::twin_too_fast)
		return ta_luft_classes;
	return sedimentation_size_class(t.da);
}

int sedimentation_particle_size_class(float diameter, float density)
{
	return size_class_of(aerodynamic_twin(diameter, density));
}
