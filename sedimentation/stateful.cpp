/*
 * absink's own interface, with its two results in global variables.  An
 * object file of its own: a program that links the static library and
 * calls only sedimentation_compute does not pull it in, so its own globals
 * named best_number or reynolds_number do not clash with these.
 */
#include "sedimentation/sedimentation.h"
#include "sedimentation/steps.hpp"

float best_number;
float reynolds_number;

double sedimentation_velocity(float d, float rho)
{
	const settling_steps r = settling(d, rho);
	best_number = r.best_number;
	reynolds_number = r.reynolds_number;
	return r.velocity;
}
