/*
 * What the web page asks of the program besides its runs, which it makes
 * with the program's own main: the program's reading of a number, and the
 * model with the report's rules for the plot.  C linkage, so that the
 * page's script calls them by name.
 */
#include <cmath>

#include "app/argument.hpp"
#include "app/report.hpp"
#include "sedimentation/regime.hpp"
#include "sedimentation/sedimentation.h"

extern "C" {
float absink_read(const char *text);
double absink_reported_velocity(float d, float rho);
double absink_stokes_diameter(float rho);
}

/* A field's text as absink reads it from its command line; 0 where it does
 * not convert. */
float absink_read(const char *text)
{
	return convert_argument(text);
}

/* The velocity in cm/s that the report gives for a particle of diameter d
 * (um) and density rho (g/cm^3): 0 where it shows zero, -1 where it warns
 * instead. */
double absink_reported_velocity(float d, float rho)
{
	const sedimentation_result r = sedimentation_compute(d, rho);
	if (report_warns(r.best_number, r.reynolds_number))
		return -1.0;
	return static_cast<double>(reported_velocity(r.best_number, r.velocity));
}

/* The diameter in um at which w = best_factor d^3 rho reaches the limit of
 * Stokes' regime. */
double absink_stokes_diameter(float rho)
{
	return std::cbrt(stokes_limit / (best_factor * static_cast<double>(rho)));
}
