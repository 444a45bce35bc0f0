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
	return nre > reynolds_limit || w > beard_peak_best_number;
}

float reported_velocity(float w, float vs)
{
	return static_cast<double>(w) < settling_limit ? 0.0F : vs;
}
