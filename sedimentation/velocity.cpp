/*
 * absink's own interface, with its two results in global variables.  An
 * object file of its own: a program that links the static library and
 * calls only sedimentation_compute does not pull it in, so its own globals
 * named best_number or reynolds_number do not clash with these.
 */
#include "sedimentation/compute.hpp"
#include "sedimentation/sedimentation.h"

float best_number;
float reynolds_number;

double sedimentation_velocity(float d, float rho)
{
	const wide_result r = sedimentation_wide(d, rho);
	best_number = r.w;
	reynolds_number = r.nre;
	return r.vs;
}
