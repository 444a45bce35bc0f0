/*
 * What the web page asks of the program: one call a keystroke, which gives
 * as JSON everything the page shows of a particle, so that each rule,
 * number and text of the model and the report comes from here, from the
 * same code absink runs.  The page's scripts hold what is theirs alone:
 * how the plot is drawn and labelled, the workbook's and the CSV's form,
 * the printout's time and project.  The script gets, by name,
 *
 *  - each field as the page reads it (field.cpp): the argument that absink
 *    is given (the text as typed, a decimal comma made a point), whether
 *    it gives a report, and a German note where the reading needs one;
 *  - the report's text, which absink's own print_report writes, or the
 *    usage screen; the report's values as it prints them, what it shows in
 *    place of vs (the library's reported velocity, named), the warning,
 *    the sentences that explain the result and the record's steps
 *    (explain.cpp);
 *  - the aerodynamic diameter and TA Luft's size class (aerodynamic.cpp);
 *  - for the plot, the reported velocity with what it shows at 60
 *    diameters a decade, and the command line that gives the same report
 *    (curve.cpp);
 *  - the model's factors, coefficients and limits for the method section,
 *    as the page prints them (method.cpp).
 *
 * C linkage, so that the script calls it by name.
 */
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/report.hpp"
#include "web/aerodynamic.hpp"
#include "web/curve.hpp"
#include "web/explain.hpp"
#include "web/field.hpp"
#include "web/json.hpp"
#include "web/method.hpp"

/* What absink_particle adds to a particle's values, verdict and fields. */
enum : int {
	page_report = 1, /* the report's text, the sentences, the steps and the command line */
	page_curve = 2,  /* the plot's curve for the density */
	page_line = 4,   /* the diameter is a table's line: "d", or "d<tab>rho" or "d;rho" */
	page_method = 8, /* the model's numbers for the method section */
};
extern "C" const char *absink_particle(const char *diameter, const char *density, int shown);

namespace {

/* The report's text as absink prints it, the page's until the next call. */
char report_text[1024];

[[gnu::format(printf, 1, 2)]] void print_to_page(const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	va_list ap;
	va_start(ap, format);
	add_v(report_text, sizeof report_text, format, ap);
	va_end(ap);
}

/* The report's values as it prints them, what it shows, the warning and
 * why, and the aerodynamic diameter; null without a report. */
void put_values(const report_outcome &o, const aerodynamic &a)
{
	if (!o.reported) {
		put(R"("values":null,"shown":null,"velocity":null,"warning":"","reason":"","aerodynamic":null)");
		return;
	}
	const bool warns = std::isnan(o.shown);
	put("\"values\":{");
	member("d", digits(o.d).text, true);
	member("rho", digits(o.rho).text);
	member("w", digits(o.result.best_number).text);
	member("nre", digits(o.result.reynolds_number).text);
	member("vs", warns ? "" : digits(o.shown).text);
	put("}");
	member("shown", shown_as(o.shown));
	put(",\"velocity\":");
	put(velocity_json(o.shown).text);
	member("warning", warns ? warning_line : "");
	char why[256];
	reason(o, why);
	member("reason", why);
	put_aerodynamic(a);
}

/* The steps of the record: the computation's and the aerodynamic
 * diameter's; none without a report. */
void put_steps(const report_outcome &o, const aerodynamic &a)
{
	put(",\"steps\":[");
	if (o.reported) {
		put_computation_steps(o);
		put_aerodynamic_steps(o, a);
	}
	put("]");
}

/* The report's text, the sentence beside it and the brief one, the
 * steps, the command line and the classes for the record. */
void put_report(const report_outcome &o, const aerodynamic &a, const field &d, const field &rho)
{
	char sentence[768] = "";
	char brief[1024] = "";
	if (o.reported) {
		explain(o, sentence, brief);
	} else {
		const char *const between = d.fault[0] && rho.fault[0] ? "; " : "";
		std::snprintf(
			sentence, sizeof sentence, "Kein Bericht, sondern die Aufrufhilfe: %s%s%s.", d.fault,
			between, rho.fault);
		std::snprintf(brief, sizeof brief, "%s%s%s.", d.fault, between, rho.fault);
	}
	put_steps(o, a);
	if (d.note[0])
		add(brief, sizeof brief, " Durchmesser: %s.", d.note);
	if (rho.note[0])
		add(brief, sizeof brief, " Dichte: %s.", rho.note);
	if (o.reported)
		add(brief, sizeof brief, " %s", a.sentence);
	member("report", report_text);
	member("sentence", sentence);
	member("brief", brief);
	put_command(d, rho);
	put_classes();
}

} // namespace

/*
 * One particle as the page shows it, as JSON: the report's values (d, rho,
 * w, nre, vs, as it prints them; vs empty where it warns; null without a
 * report), what it shows in place of vs ("velocity", "zero" or "warn";
 * null without a report), the velocity it shows (for the plot's mark;
 * null where it warns or without a report), the warning and the reason
 * for it or for a zero, the aerodynamic diameter; with page_report the
 * report's text, the sentence, the brief status, the particle's steps,
 * the equivalent command line and the classes; with page_curve the plot's
 * curve for the density; with page_method the model's numbers for the
 * method section; and the two fields (d, rho).  With page_line the
 * diameter is a line of the table, which may bring its own density after a
 * tab or a semicolon (two cells pasted from a spreadsheet); without one
 * the density given counts.  The text is the page's until its next call.
 */
const char *absink_particle(const char *diameter, const char *density, int shown)
{
	static field d;
	static field rho;
	static char cells[longest];
	if ((shown & page_line) != 0) {
		std::snprintf(cells, sizeof cells, "%s", diameter);
		char *between = cells + std::strcspn(cells, "\t;");
		if (*between != '\0') {
			*between = '\0';
			density = between + 1;
		}
		diameter = cells;
	}
	read_field(d, "Durchmesser", diameter, field_kind::diameter);
	read_field(rho, "Dichte", density, field_kind::density);
	report_text[0] = '\0';
	const report_outcome o = print_report(print_to_page, d.argument, rho.argument);
	if (!o.reported)
		print_usage_screen(print_to_page);
	const aerodynamic a = o.reported ? aerodynamic_of(o) : aerodynamic{};

	start_json();
	put("{");
	put_values(o, a);
	if ((shown & page_report) != 0)
		put_report(o, a, d, rho);
	if ((shown & page_method) != 0)
		put_method();
	if ((shown & page_curve) != 0) {
		if (rho.gives_report)
			put_curve(rho.value);
		else
			put(",\"curve\":null");
	}
	put_field("d", d);
	put_field("rho", rho);
	put("}");
	return json_text();
}
