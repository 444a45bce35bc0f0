#ifndef SEDIMENTATION_COMPUTE_HPP
#define SEDIMENTATION_COMPUTE_HPP

/*
 * The one computation behind both entry points, the velocity still in
 * double: sedimentation_velocity hands it on unrounded,
 * sedimentation_compute rounds it.  Internal to the library and hidden in
 * its shared build, so that a call from one object file to the other is a
 * direct one; not installed.
 */
struct wide_result {
	float w;   /* Best number, rounded to float */
	float nre; /* Reynolds number, rounded to float */
	double vs; /* velocity in cm/s, unrounded */
};

wide_result sedimentation_wide(float d, float rho);

#endif
