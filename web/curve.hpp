#ifndef ABSINK_WEB_CURVE_HPP
#define ABSINK_WEB_CURVE_HPP

/*
 * What the web page shows beside the report: what it shows in place of vs
 * by name, the plot's curve for a density, and the command line that
 * gives the same report.
 */
#include "web/field.hpp"

/* A velocity the report shows as a JSON number, with the digits that name
 * its float; null where the report warns (NaN). */
struct velocity_json {
	char text[32] = "null";
	explicit velocity_json(float shown);
};

/* What the report shows in place of vs: "velocity", "zero" or "warn". */
const char *shown_as(float shown);

/* ,"curve":{...} for the density rho. */
void put_curve(float rho);

/* ,"command":"absink d rho", quoted for a POSIX shell where needed. */
void put_command(const field &d, const field &rho);

#endif
