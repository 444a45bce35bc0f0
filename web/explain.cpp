/*
 * The web page's words on a particle's result (explain.hpp).  The limits
 * are those the model and the report compare with (steps.hpp), the
 * factors the model's (model.hpp), each printed from its home.
 */
#include "web/explain.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sedimentation/model.hpp"
#include "sedimentation/single.h"
#include "sedimentation/steps.hpp"
#include "web/json.hpp"

namespace {

/* The exponent's digits as superscripts, with its sign where negative. */
void add_power(char (&text)[40], int power)
{
	static const char *const superscript[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
	char digits_of[16];
	std::snprintf(digits_of, sizeof digits_of, "%d", power < 0 ? -power : power);
	add(text, sizeof text, "·10%s", power < 0 ? "⁻" : "");
	for (const char *p = digits_of; *p != '\0'; p++)
		add(text, sizeof text, "%s", superscript[*p - '0']);
}

} // namespace

/* The fewest significant digits that give the value back, so that a
 * number reads as its home writes it (0.041666668, not 0.0416666679). */
limit::limit(double value, bool single, char decimal, double small) : text{}
{
	char e[40];
	int after = 0; /* digits after the mantissa's point */
	for (; after < 17; after++) {
		std::snprintf(e, sizeof e, "%.*e", after, value);
		const double back = std::strtod(e, nullptr);
		if (single ? to_single(back) == static_cast<float>(value) : back == value)
			break;
	}
	char *exponent = std::strchr(e, 'e'); /* "e+05", "e-05" */
	int power = 0;
	for (const char *p = exponent + 2; *p != '\0'; p++)
		power = power * 10 + (*p - '0');
	if (exponent[1] == '-')
		power = -power;
	const double magnitude = std::fabs(value);
	if (magnitude != 0.0 && (magnitude < small || magnitude >= 1e4)) {
		*exponent = '\0';
		std::snprintf(text, sizeof text, "%s", e);
		add_power(text, power);
	} else {
		std::snprintf(text, sizeof text, "%.*f", after > power ? after - power : 0, value);
	}
	char *point = std::strchr(text, '.');
	if (point != nullptr)
		*point = decimal;
	if (decimal == ',' && text[0] == '-') {
		char german[40];
		std::snprintf(german, sizeof german, "−%s", text + 1);
		std::snprintf(text, sizeof text, "%s", german);
	}
}

void rule_words(const report_outcome &o, char (&text)[256])
{
	text[0] = '\0';
	const digits w(o.result.best_number);
	switch (o.verdict) {
	case SEDIMENTATION_BEYOND_PEAK:
		std::snprintf(
			text, sizeof text,
			"weil w über %s liegt, jenseits des Scheitels von Beards Polynom (Regel von absink, "
			"nicht der Richtlinie)",
			limit(beard_peak_best_number).text);
		break;
	case SEDIMENTATION_ABOVE_REYNOLDS_LIMIT:
		std::snprintf(
			text, sizeof text,
			"weil Nre = %s über %s liegt, wo Beards Polynom nicht mehr gilt (Richtlinie)",
			digits(o.result.reynolds_number).text, limit(reynolds_limit).text);
		break;
	case SEDIMENTATION_NOT_SETTLING: {
		/* A w that prints as the limit is below it all the same. */
		char rounded[80] = "";
		if (std::strcmp(w.text, digits(static_cast<float>(settling_limit)).text) == 0)
			std::snprintf(rounded, sizeof rounded, " (gedruckt gerundet %s)", w.text);
		std::snprintf(
			text, sizeof text, "weil w = %.7g unter %s liegt%s: nicht sinkend (Richtlinie)",
			static_cast<double>(o.result.best_number), limit(settling_limit).text, rounded);
		break;
	}
	case SEDIMENTATION_SETTLES:
		break;
	}
}

void explain(const report_outcome &o, char (&sentence)[768], char (&brief)[1024])
{
	const bool stokes = settling(o.d, o.rho).stokes;
	std::snprintf(
		sentence, sizeof sentence,
		stokes ? "Nre folgt dem Stokesschen Gesetz (Nre = w/24), da w = %s unter %s liegt"
		       : "Nre folgt Beards Polynom in ln w, da w = %s nicht unter %s liegt",
		digits(o.result.best_number).text, limit(stokes_limit).text);
	char rule[256];
	rule_words(o, rule);
	switch (o.verdict) {
	case SEDIMENTATION_BEYOND_PEAK:
		add(sentence, sizeof sentence,
		    "; statt vs steht die Warnung, %s: dort bedeutet die gedruckte Reynoldszahl %s nichts, "
		    "die wahre liegt weit über %s.",
		    rule, digits(o.result.reynolds_number).text, limit(reynolds_limit).text);
		std::snprintf(brief, sizeof brief, "Warnung statt vs, %s.", rule);
		break;
	case SEDIMENTATION_ABOVE_REYNOLDS_LIMIT:
		add(sentence, sizeof sentence, "; statt vs steht die Warnung, %s.", rule);
		std::snprintf(brief, sizeof brief, "Warnung statt vs, %s.", rule);
		break;
	case SEDIMENTATION_NOT_SETTLING:
		add(sentence, sizeof sentence, "; vs ist 0, %s, berechnet wären %s cm/s.", rule,
		    digits(o.result.velocity).text);
		std::snprintf(brief, sizeof brief, "vs = 0, %s.", rule);
		break;
	case SEDIMENTATION_SETTLES:
		add(sentence, sizeof sentence, ".");
		std::snprintf(
			brief, sizeof brief, "vs = %s cm/s, nach %s.", digits(o.result.velocity).text,
			stokes ? "dem Stokesschen Gesetz" : "Beards Polynom");
		break;
	}
}

void reason(const report_outcome &o, char (&text)[256])
{
	char rule[256];
	rule_words(o, rule);
	text[0] = '\0';
	if (rule[0] != '\0')
		std::snprintf(text, sizeof text, "%s, %s", std::isnan(o.shown) ? "Warnung" : "vs = 0", rule);
}

void put_step(bool first, const char *term, const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	char text[768] = "";
	va_list ap;
	va_start(ap, format);
	add_v(text, sizeof text, format, ap);
	va_end(ap);
	put(first ? "[" : ",[");
	put_string(term);
	put(",");
	put_string(text);
	put("]");
}

namespace {

double wide(float v)
{
	return static_cast<double>(v);
}

/* Nre by the regime of the unrounded product, with its rounding points
 * numbered from the one given; the next number after them. */
int put_reynolds_steps(const settling_steps &s, int rounding)
{
	const limit stokes(stokes_limit);
	if (s.stokes) {
		put_step(
			false, "Bereich",
			"Stokessches Gesetz, da das ungerundete Produkt %.17g unter %s liegt", s.product,
			stokes.text);
		put_step(
			false, "Reynoldszahl Nre",
			"w · %s (1/24 in einfacher Genauigkeit) = %.17g; Rundung %d: Nre = %.9g",
			limit(stokes_factor).text, s.reynolds_wide, rounding, wide(s.reynolds_number));
		return rounding + 1;
	}
	put_step(
		false, "Bereich", "Beards Polynom, da das ungerundete Produkt %.17g nicht unter %s liegt",
		s.product, stokes.text);
	put_step(false, "X", "ln des ungerundeten Produkts; Rundung %d: X = %.9g", rounding, wide(s.x));
	put_step(
		false, "Polynom", "Y = a₀ + a₁X + … + a₆X⁶ nach Horner, ungerundet: Y = %.17g", s.polynomial);
	put_step(
		false, "Reynoldszahl Nre", "e^Y = %.17g; Rundung %d: Nre = %.9g", s.reynolds_wide,
		rounding + 1, wide(s.reynolds_number));
	return rounding + 2;
}

} // namespace

/*
 * Each rounding point named and numbered: floats with 9 significant
 * digits, which name one float, doubles with 17, which name one double,
 * so that each step can be recomputed from the one before to the printed
 * digits.
 */
void put_computation_steps(const report_outcome &o)
{
	const settling_steps s = settling(o.d, o.rho);
	put_step(
		true, "Eingaben", "d = %.9g µm, ρ = %.9g g/cm³: die Argumente in einfacher Genauigkeit",
		wide(o.d), wide(o.rho));
	put_step(
		false, "Bestzahl w",
		"((d · %s) · d) · d · ρ = %.17g in doppelter Genauigkeit; Rundung 1 auf einfache "
		"Genauigkeit: w = %.9g",
		limit(best_factor).text, s.product, wide(s.best_number));
	const int rounding = put_reynolds_steps(s, 2);
	put_step(
		false, "Sinkgeschwindigkeit vs", "Nre · %s / d = %.17g cm/s; Rundung %d: vs = %.9g cm/s",
		limit(velocity_factor).text, s.velocity, rounding, wide(o.result.velocity));
	char rule[256];
	rule_words(o, rule);
	put_step(
		false, "Bericht", "auf vier Nachkommastellen gedruckt: w = %s, Nre = %s, vs = %s%s%s",
		digits(o.result.best_number).text, digits(o.result.reynolds_number).text,
		std::isnan(o.shown) ? "keine, die Warnung" : digits(o.shown).text, rule[0] ? ", " : "", rule);
}
