/*
 * What the web page shows beside the report (curve.hpp).
 */
#include "web/curve.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/argument.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/steps.hpp"
#include "web/json.hpp"

velocity_json::velocity_json(float shown)
{
	if (!std::isnan(shown))
		std::snprintf(text, sizeof text, "%.9g", static_cast<double>(shown));
}

/* What the report shows in place of vs, in the words that the page's
 * script takes as they come (a plot's band, a mark's place, a class):
 * the library's reported velocity (NaN where the report warns) named. */
const char *shown_as(float shown)
{
	if (std::isnan(shown))
		return "warn";
	return shown == 0.0F ? "zero" : "velocity";
}

/* The plot's curve for the density rho: at 60 diameters a decade from 1 um
 * to 1 cm, [d, the velocity the report shows (null where it warns), what
 * it shows]; with the density and the diameter where Stokes' regime
 * ends. */
void put_curve(float rho)
{
	char text[96];
	std::snprintf(
		text, sizeof text, R"(,"curve":{"density":%.9g,"stokes":%.9g,"points":[)",
		static_cast<double>(rho), stokes_diameter(rho));
	put(text);
	for (int i = 0; i <= 240; i++) {
		/* 10^(i/60), by the exp that the model links anyway */
		const auto d = static_cast<float>(std::exp(i * std::log(10.0) / 60));
		const float shown = sedimentation_reported_velocity(sedimentation_compute(d, rho));
		std::snprintf(
			text, sizeof text, "%s[%.9g,%s,\"%s\"]", i == 0 ? "" : ",", static_cast<double>(d),
			velocity_json(shown).text, shown_as(shown));
		put(text);
	}
	put("]}");
}

/* The command line that gives the same report: each argument as absink
 * is given it, in single quotes for a POSIX shell where it holds more than
 * digits, letters and . , + - e. */
void put_command(const field &d, const field &rho)
{
	static char line[longest * 8 + 16];
	std::snprintf(line, sizeof line, "absink");
	const field *const both[] = {&d, &rho};
	for (const field *f : both) {
		const char *p = f->argument;
		bool plain = *p != '\0';
		for (const char *q = p; *q != '\0'; q++)
			plain = plain && (is_digit(*q) || (*q >= 'a' && *q <= 'z') ||
					  (*q >= 'A' && *q <= 'Z') || std::strchr(".,+-_", *q) != nullptr);
		std::size_t n = std::strlen(line);
		line[n++] = ' ';
		if (!plain)
			line[n++] = '\'';
		for (; *p != '\0'; p++) {
			if (!plain && *p == '\'') {
				std::memcpy(line + n, "'\\''", 4);
				n += 4;
			} else {
				line[n++] = *p;
			}
		}
		if (!plain)
			line[n++] = '\'';
		line[n] = '\0';
	}
	member("command", line);
}
