/*
 * The particle's aerodynamic diameter and TA Luft's size class as the web
 * page gives them (aerodynamic.hpp).  The class and its limits are the
 * library's (sedimentation/size_classes.h); the page only words them.
 */
#include "web/aerodynamic.hpp"

#include <cstdio>
#include <cstring>

#include "app/argument.hpp"
#include "sedimentation/size_classes.h"
#include "web/explain.hpp"
#include "web/json.hpp"

namespace {

/* "Klasse N nach TA Luft 2002, ...: its limits; whether PM10, PM2.5". */
void class_text(int size_class, char (&text)[200])
{
	char limits[64];
	class_limits(size_class, limits);
	std::snprintf(
		text, sizeof text, "Klasse %d nach " TA_LUFT_SOURCE ": %s; %s", size_class, limits,
		size_class == 1   ? "zählt zu PM2.5 und zu PM10"
		: size_class == 2 ? "zählt zu PM10, nicht zu PM2.5"
				  : "zählt weder zu PM10 noch zu PM2.5");
}

/* Why the library finds no aerodynamic diameter, in its words. */
const char *no_twin_words(twin_status status)
{
	switch (status) {
	case twin_status::particle_warns:
		return "das Teilchen liegt jenseits von Nre 300";
	case twin_status::no_velocity:
		return "die Geschwindigkeit des Modells ist 0";
	case twin_status::twin_too_fast:
		return "eine Kugel von 1 g/cm³, die ebenso schnell sänke, läge jenseits von Nre 300";
	case twin_status::found:
	case twin_status::outside_domain:
	case twin_status::twin_missed:
		break;
	}
	return "keine Kugel von 1 g/cm³ sinkt auf 10⁻⁶ genau ebenso schnell";
}

} // namespace

/* The limits of TA Luft's class as the sentences name them, with the side
 * each limit belongs to: "unter 2.5 µm", "2.5 bis unter 10 µm", "10 bis
 * 50 µm", "über 50 µm". */
void class_limits(int size_class, char (&text)[64])
{
	const int last = ta_luft_classes - 2; /* the last limit's index */
	if (size_class <= 1) {
		std::snprintf(
			text, sizeof text, "%s %g µm", ta_luft_limit_goes_up[0] != 0 ? "unter" : "bis",
			ta_luft_limits[0]);
	} else if (size_class >= ta_luft_classes) {
		std::snprintf(
			text, sizeof text, "%s %g µm", ta_luft_limit_goes_up[last] != 0 ? "ab" : "über",
			ta_luft_limits[last]);
	} else {
		const int lower = size_class - 2;
		const int upper = size_class - 1;
		std::snprintf(
			text, sizeof text, "%s%g bis %s%g µm",
			ta_luft_limit_goes_up[lower] != 0 ? "" : "über ", ta_luft_limits[lower],
			ta_luft_limit_goes_up[upper] != 0 ? "unter " : "", ta_luft_limits[upper]);
	}
}

/*
 * The particle's aerodynamic diameter as the page gives it: the library's
 * (its twin, from aerodynamic_twin, with the reason where it has none),
 * printed as the report prints its values, "%.4f", with TA Luft's class
 * as the library decides it.  For the check a reviewer makes: the
 * velocity of the printed twin, which may lie a unit of the last digit
 * off the particle's, since the twin's diameter is rounded to four places.
 */
aerodynamic aerodynamic_of(const report_outcome &o)
{
	aerodynamic a;
	a.found = aerodynamic_twin(o.d, o.rho);
	a.size_class = size_class_of(a.found);
	if (a.size_class != 0)
		class_text(a.size_class, a.text);
	if (a.found.status != twin_status::found) {
		std::snprintf(
			a.reason, sizeof a.reason, "kein aerodynamischer Durchmesser: %s",
			no_twin_words(a.found.status));
		if (a.size_class != 0)
			std::snprintf(
				a.sentence, sizeof a.sentence, "Kein aerodynamischer Durchmesser: %s. %s.",
				no_twin_words(a.found.status), a.text);
		else
			std::snprintf(
				a.sentence, sizeof a.sentence,
				"Kein aerodynamischer Durchmesser: %s; daher auch keine Klasse nach TA Luft.",
				no_twin_words(a.found.status));
		return a;
	}
	std::snprintf(a.printed, sizeof a.printed, "%.4f", static_cast<double>(a.found.da));
	const float twin_d = convert_argument(a.printed); /* as absink reads it */
	std::snprintf(
		a.twin_vs, sizeof a.twin_vs, "%.4f",
		static_cast<double>(sedimentation_compute(twin_d, 1.0F).velocity));
	std::snprintf(
		a.sentence, sizeof a.sentence, "Aerodynamischer Durchmesser %s µm, %s.", a.printed, a.text);
	return a;
}

void put_aerodynamic(const aerodynamic &a)
{
	put(",\"aerodynamic\":{");
	member("da", a.printed, true);
	char number[32];
	std::snprintf(number, sizeof number, ",\"class\":%d", a.size_class);
	put(a.size_class != 0 ? number : ",\"class\":null");
	member("text", a.text);
	member("reason", a.reason);
	member("sentence", a.sentence);
	put("}");
}

/* TA Luft's classes with their limits and source, and which class a
 * limit belongs to, for the record. */
void put_classes()
{
	char text[640] = "";
	for (int c = 1; c <= ta_luft_classes; c++) {
		char limits[64];
		class_limits(c, limits);
		add(text, sizeof text, "%sKlasse %d %s", c == 1 ? "" : ", ", c, limits);
	}
	add(text, sizeof text,
	    " (" TA_LUFT_SOURCE ": Depositions- und Sedimentationsgeschwindigkeiten für Stäube); "
	    "es zählt da, wie es gedruckt ist, auf vier Stellen; auf einer Grenze gehören ");
	for (int k = 0; k < ta_luft_classes - 1; k++)
		add(text, sizeof text, "%s%g µm zur Klasse %d", k == 0 ? "" : ", ", ta_luft_limits[k],
		    k + 1 + ta_luft_limit_goes_up[k]);
	add(text, sizeof text, "; die Klassen 1 und 2 sind PM10, die Klasse 1 PM2.5.");
	member("classes", text);
	member("classSource", TA_LUFT_SOURCE);
}

/* The record's steps for the aerodynamic diameter: what it is and how it
 * is found, the check a reviewer makes with the printed twin, and the
 * class; or why there is none, and whether a class follows all the same. */
void put_aerodynamic_steps(const report_outcome &o, const aerodynamic &a)
{
	if (a.found.status != twin_status::found) {
		put_step(false, "Aerodynamischer Durchmesser", "%s", a.reason);
		if (a.size_class != 0)
			put_step(
				false, "Größenklasse",
				"%s: die Kugel wäre größer als jede von 1 g/cm³ unter Nre 300", a.text);
		else
			put_step(false, "Größenklasse", "keine, da kein aerodynamischer Durchmesser");
		return;
	}
	const digits particle(o.result.velocity);
	char check[512];
	std::snprintf(
		check, sizeof check, "; die Kugel von %s µm und 1 g/cm³ (absink %s 1) sinkt nach dem Modell ",
		a.printed, a.printed);
	if (std::strcmp(a.twin_vs, particle.text) == 0)
		add(check, sizeof check, "wie dieses Teilchen mit vs = %s cm/s", particle.text);
	else
		add(check, sizeof check,
		    "mit vs = %s cm/s, dieses Teilchen mit %s cm/s: da ist auf vier Stellen gerundet, und um "
		    "so viel sinkt die Kugel des gedruckten da anders",
		    a.twin_vs, particle.text);
	put_step(
		false, "Aerodynamischer Durchmesser",
		"der Durchmesser einer Kugel von 1 g/cm³, die nach diesem Modell ebenso schnell sinkt; die "
		"Umkehrung des Modells auf Gleitkomma-Auflösung gibt da = %.9g µm, gedruckt %s µm%s",
		static_cast<double>(a.found.da), a.printed, check);
	put_step(false, "Größenklasse", "%s", a.text);
}
