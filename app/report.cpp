#include "app/report.hpp"
#include "app/argument.hpp"
#include "sedimentation/sedimentation.h"

#include <cmath>

bool report_accepts(float value)
{
	return value > 0.0F;
}

/* The command name is fixed: the program may be started under another. */
void print_usage_screen(print_function print)
{
	print("Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu)\n");
	print("Aufruf: absink <Durchmesser (in mu)> <Dichte (in g/cm3)>\n");
}

report_outcome print_report(print_function print, const char *diameter, const char *density)
{
	report_outcome o{};
	o.d = convert_argument(diameter);
	o.rho = convert_argument(density);
	if (!report_accepts(o.d) || !report_accepts(o.rho))
		return o;
	o.reported = true;

	/* In range: the velocity stays below 1e16 cm/s. */
	const auto vs = static_cast<float>(sedimentation_velocity(o.d, o.rho));
	o.result = {best_number, reynolds_number, vs};
	o.verdict = sedimentation_report_verdict(o.result);
	o.shown = sedimentation_reported_velocity(o.result);

	print("\nBerechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n");
	print("Durchmesser (in mu): %9.4f\n", static_cast<double>(o.d));
	print("Dichte (in g/cm3)  : %9.4f\n", static_cast<double>(o.rho));
	print("Bestzahl w         : %9.4f\n", static_cast<double>(best_number));
	print("Reynoldszahl Nre   : %9.4f\n", static_cast<double>(reynolds_number));
	/* NaN where the report warns instead of giving a velocity. */
	if (std::isnan(o.shown))
		print("%s\n", warning_line);
	else
		print("vs (in cm/s)       : %9.4f\n", static_cast<double>(o.shown));
	return o;
}
