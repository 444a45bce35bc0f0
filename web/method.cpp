/*
 * The model's numbers for the page's method section (method.hpp).
 */
#include "web/method.hpp"

#include <cstdio>

#include "app/report.hpp"
#include "sedimentation/model.hpp"
#include "sedimentation/steps.hpp"
#include "web/explain.hpp"
#include "web/json.hpp"

void put_method()
{
	put(",\"method\":{");
	member("bestFactor", limit(best_factor, ',').text, true);
	/* nu in cm^2/s: the velocity factor is nu times 10^4 um/cm. */
	member("nu", limit(velocity_factor / 1e4, ',').text);
	member("stokesLimit", limit(stokes_limit, ',').text);
	member("stokesFactor", limit(stokes_factor, ',').text);
	member("velocityFactor", limit(velocity_factor, ',').text);
	member("settlingLimit", limit(settling_limit, ',').text);
	member("reynoldsLimit", limit(reynolds_limit, ',').text);
	member("peak", limit(beard_peak_best_number, ',').text);
	char coefficients[320] = "";
	for (const float a : beard)
		add(coefficients, sizeof coefficients, "%s%s", coefficients[0] ? "; " : "",
		    limit(a, ',', 1e-2).text);
	member("beard", coefficients);
	member("warningLine", warning_line);
	put("}");
}
