#include "app/report.hpp"
#include "sedimentation/sedimentation.h"

bool report_accepts(float value)
{
	return value > 0.0F;
}

/*
 * Above Nre 300 the correlation no longer holds.  Past the polynomial's
 * maximum Nre falls below 300 again, and the velocity would be far too low;
 * the true Nre is far above 300 there, so the same warning is due.
 */
bool report_warns(float w, float nre)
{
	return nre > 300.0F || w > beard_peak_best_number;
}

/* Below w 0.003 the particle counts as not settling at all. */
float reported_velocity(float w, float vs)
{
	return static_cast<double>(w) < 0.003 ? 0.0F : vs;
}
