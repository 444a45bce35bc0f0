/*
 * What the web page asks of the program besides its runs, which it makes
 * with the program's own main: the program's reading of a field, and the
 * model with the report's rules for the plot.  C linkage, so that the
 * page's script calls them by name.
 */
#include <cmath>
#include <cstdint>

#include "app/argument.hpp"
#include "app/report.hpp"
#include "sedimentation/model.hpp"
#include "sedimentation/sedimentation.h"

/* A field as absink reads it: the value (0 where the text does not
 * convert), the bytes read before the first that does not fit, and why
 * the field gives no report: 0 it does, 1 to 4 the text does not convert
 * (argument_fault: no digit, an exponent marker without digits, too small,
 * too large), 5 the value is not above zero. */
struct page_reading {
	float value;
	std::int32_t end;
	std::int32_t fault;
};

extern "C" {
const page_reading *absink_read(const char *text);
double absink_reported_velocity(float d, float rho);
double absink_stokes_diameter(float rho);
}

/* One result, read by the page before its next call.  A field holds at
 * most 131071 characters, so its length fits. */
const page_reading *absink_read(const char *text)
{
	static page_reading reading;
	const argument_reading r = read_argument(text);
	auto fault = static_cast<std::int32_t>(r.fault);
	if (r.fault == argument_fault::none && !report_accepts(r.value))
		fault = 5;
	reading = {r.value, static_cast<std::int32_t>(r.end), fault};
	return &reading;
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
