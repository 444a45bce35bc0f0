#ifndef ABSINK_REPORT_HPP
#define ABSINK_REPORT_HPP

/*
 * absink's two screens, the report and the usage screen, apart from main
 * so that the web page shows the very same text: each line is one call of
 * a printf-like function, which writes standard output in absink and a
 * buffer in the page.  What the report shows of a result is the library's
 * (sedimentation_reported_velocity).
 */
#include "sedimentation/sedimentation.h"

/* Where a screen's lines go: printf's format and its arguments. */
using print_function = void (*)(const char *format, ...);

/* The line that stands instead of the velocity where the report warns. */
inline constexpr char warning_line[] = "Achtung: Reynolds-Zahl > 300";

/* Whether a diameter or density, as read, gives a report rather than the
 * usage screen: only above zero. */
bool report_accepts(float value);

/* The two lines of the usage screen. */
void print_usage_screen(print_function print);

/* One particle as the report has it. */
struct report_outcome {
	bool reported;                 /* false: the usage screen is due, nothing printed */
	float d, rho;                  /* as read, um and g/cm^3 */
	sedimentation_result result;   /* w, Nre and vs as computed (vs before the rules) */
	sedimentation_verdict verdict; /* what the report made of it */
	float shown;                   /* the velocity it shows: vs, 0, or NaN where it warns */
};

/*
 * Reads the two arguments, and where both give a report, computes it and
 * prints it: the title, d, rho, w and Nre, then vs or the warning.  The
 * whole computation comes before the first line.
 */
report_outcome print_report(print_function print, const char *diameter, const char *density);

#endif
