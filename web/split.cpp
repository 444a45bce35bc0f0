/*
 * The web page's section „Emission nach Größenklassen“: a size
 * distribution pasted from a spreadsheet, read line by line as the page
 * reads a field, split into TA Luft's classes by the library
 * (sedimentation_class_split), with what the record shows of it: each
 * limit with the measured points around it and the formula with its
 * numbers, each class's share with its bounds and mass flow, PM10 and
 * PM2.5, and the measured curve for the plot.  One call a keystroke.
 */
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sedimentation/sedimentation.h"
#include "sedimentation/size_classes.h"
#include "web/aerodynamic.hpp"
#include "web/field.hpp"
#include "web/json.hpp"

/* What absink_split is told besides the lines. */
enum : int {
	split_residue = 1,     /* the values are residues, not the passing */
	split_aerodynamic = 2, /* the sizes are aerodynamic diameters: no density */
};
extern "C" const char *absink_split(const char *lines, const char *density, int flags, const char *flow);

namespace {

/* The most lines the section reads: the library's most sizes. */
constexpr int most = sedimentation_split_most;

/* The distribution as read: each size and value with its line's number. */
struct read_lines {
	float size[most];
	float value[most];
	int line[most];
	int n;
	char message[512]; /* why there is no split; empty where there is one */
};

/* A line's two cells: at a tab or a semicolon, else at blanks. */
void cells(char *text, char *&second)
{
	char *p = text + std::strcspn(text, "\t;");
	if (*p == '\0') {
		p = text;
		while (*p == ' ')
			p++;
		p += std::strcspn(p, " ");
	}
	second = p;
	if (*p != '\0')
		*second++ = '\0';
}

/* One line into the distribution, or its note and false. */
bool read_line(read_lines &r, char *text, int number)
{
	char *second = nullptr;
	cells(text, second);
	static field size;
	static field value;
	read_field(size, "Größe", text, field_kind::diameter);
	read_field(value, "Wert", second, field_kind::number);
	/* A cell that absink does not read to its end is a paste gone wrong
	 * ("63abc"): its note says what was left. */
	const char *fault = *second == '\0'      ? "nur eine Spalte"
			    : !size.gives_report ? size.fault
			    : !size.whole        ? size.note
			    : !value.converts    ? "Wert: keine Zahl"
			    : !value.whole       ? value.note
						 : nullptr;
	if (fault != nullptr || r.n == most) {
		add(r.message, sizeof r.message, "%sZeile %d: %s", r.message[0] ? "; " : "", number,
		    fault != nullptr ? fault : "zu viele Zeilen");
		return false;
	}
	r.size[r.n] = size.value;
	r.value[r.n] = value.value;
	r.line[r.n++] = number;
	return true;
}

void read_all(read_lines &r, const char *lines)
{
	static char copy[longest];
	std::snprintf(copy, sizeof copy, "%s", lines);
	r.n = 0;
	r.message[0] = '\0';
	int number = 0;
	for (char *p = copy; p != nullptr;) {
		char *end = std::strchr(p, '\n');
		if (end != nullptr)
			*end++ = '\0';
		number++;
		const std::size_t length = std::strlen(p);
		if (length > 0 && p[length - 1] == '\r')
			p[length - 1] = '\0';
		if (p[std::strspn(p, " \t;")] != '\0')
			read_line(r, p, number);
		p = end;
	}
}

/* A number of the split as the page prints it: NaN as „nicht bestimmt“. */
struct shown {
	char text[32]{};
	shown(double value, int decimals)
	{
		if (std::isnan(value))
			std::snprintf(text, sizeof text, "nicht bestimmt");
		else
			std::snprintf(text, sizeof text, "%.*f", decimals, value);
	}
};

/* The passing of entry i in per cent, a residue turned into it. */
double passing_of(const read_lines &r, int i, bool residue)
{
	const auto v = static_cast<double>(r.value[i]);
	return residue ? 100.0 - v : v;
}

/* Each limit: its diameter, the check (its aerodynamic diameter), the
 * measured points around it and the formula with its numbers. */
void put_limit(const read_lines &r, const sedimentation_split &s, int k, float density, bool residue)
{
	const int i = s.below[k];
	const int j = s.above[k];
	const double x = static_cast<double>(s.limits[k]);
	char how[512] = "";
	if (i < 0 || j < 0)
		std::snprintf(
			how, sizeof how, "%s der gemessenen Größen: nicht geschätzt",
			i < 0 ? "unter" : "über");
	else if (i == j)
		std::snprintf(
			how, sizeof how, "gemessen in Zeile %d: Q = %g %%", r.line[i],
			passing_of(r, i, residue));
	else
		std::snprintf(
			how, sizeof how,
			"zwischen Zeile %d (%g µm; %g %%) und Zeile %d (%g µm; %g %%): Q = %g + (%g − %g) · "
			"ln(%.4f / %g) / ln(%g / %g) = %.2f %%",
			r.line[i], static_cast<double>(r.size[i]), passing_of(r, i, residue), r.line[j],
			static_cast<double>(r.size[j]), passing_of(r, j, residue), passing_of(r, i, residue),
			passing_of(r, j, residue), passing_of(r, i, residue), x,
			static_cast<double>(r.size[i]), static_cast<double>(r.size[j]),
			static_cast<double>(r.size[i]), static_cast<double>(s.passing[k]));
	put(k == 0 ? "{" : ",{");
	char limit[16];
	std::snprintf(limit, sizeof limit, "%g", ta_luft_limits[k]);
	member("limit", limit, true);
	member("d", shown(x, 4).text);
	const float da =
		density == 0.0F ? s.limits[k] : sedimentation_aerodynamic_diameter(s.limits[k], density);
	member("da", shown(static_cast<double>(da), 4).text);
	member("how", how);
	put("}");
}

/* A share with its bounds and its mass flow, in the flow's unit. */
void put_share(bool first, const char *name, double f, double low, double high, const field &flow)
{
	put(first ? "{" : ",{");
	member("name", name, true);
	member("f", shown(f, 2).text);
	member("low", shown(low, 2).text);
	member("high", shown(high, 2).text);
	const bool given = flow.converts && flow.value > 0.0F;
	member("flow", given ? shown(static_cast<double>(flow.value) * f / 100.0, 4).text : "");
	put("}");
}

/* The classes, then PM10 and PM2.5: the passing at 10 and at 2.5 um, its
 * bounds those of its limit. */
void put_shares(const read_lines &r, const sedimentation_split &s, bool residue, const field &flow)
{
	put(",\"shares\":[");
	for (int k = 0; k < ta_luft_classes; k++) {
		char name[96];
		char limits[64];
		class_limits(k + 1, limits);
		std::snprintf(name, sizeof name, "Klasse %d: %s", k + 1, limits);
		put_share(
			k == 0, name, static_cast<double>(s.fractions[k]), static_cast<double>(s.low[k]),
			static_cast<double>(s.high[k]), flow);
	}
	const char *const names[] = {"PM2.5 (Klasse 1)", "PM10 (Klassen 1 und 2)"};
	for (int k = 0; k < 2; k++) {
		const double low = s.below[k] < 0 ? 0.0 : passing_of(r, s.below[k], residue);
		const double high = s.above[k] < 0 ? 100.0 : passing_of(r, s.above[k], residue);
		put_share(false, names[k], static_cast<double>(s.passing[k]), low, high, flow);
	}
	put("]");
}

/* The measured curve for the plot, [d, Q] by rising d, and the limits. */
void put_points(const read_lines &r, const sedimentation_split &s, bool residue)
{
	put(",\"points\":[");
	float last = 0.0F;
	for (int written = 0; written < r.n; written++) {
		int next = -1;
		for (int i = 0; i < r.n; i++)
			if (r.size[i] > last && (next < 0 || r.size[i] < r.size[next]))
				next = i;
		char point[64];
		std::snprintf(
			point, sizeof point, "%s[%.9g,%.9g]", written == 0 ? "" : ",",
			static_cast<double>(r.size[next]), passing_of(r, next, residue));
		put(point);
		last = r.size[next];
	}
	char marks[128];
	std::snprintf(
		marks, sizeof marks, "],\"marks\":[%.9g,%.9g,%.9g]", static_cast<double>(s.limits[0]),
		static_cast<double>(s.limits[1]), static_cast<double>(s.limits[2]));
	put(std::isnan(s.limits[0]) || std::isnan(s.limits[2]) ? "],\"marks\":null" : marks);
}

} // namespace

/*
 * The split of the distribution in lines ("size<tab>value" each, German
 * numbers as in the fields) for the density given, as JSON: the message
 * where there is none (the lines that do not read, or what the library
 * finds wrong, with its line), else the limits, the shares and the points.
 */
const char *absink_split(const char *lines, const char *density, int flags, const char *flow)
{
	static read_lines r;
	static field rho;
	static field mass;
	const bool residue = (flags & split_residue) != 0;
	const bool aerodynamic = (flags & split_aerodynamic) != 0;
	read_all(r, lines);
	read_field(rho, "Dichte", density, field_kind::density);
	read_field(mass, "Massenstrom", flow, field_kind::number);
	if (!aerodynamic && !rho.gives_report && r.message[0] == '\0')
		std::snprintf(r.message, sizeof r.message, "%s", rho.fault);
	const float d = aerodynamic ? 0.0F : rho.value;
	sedimentation_split s{};
	if (r.message[0] == '\0') {
		s = sedimentation_class_split(r.size, r.n, r.value, r.n, d, residue ? 1 : 0);
		const char *const why = sedimentation_split_message(s.status);
		if (s.status != SEDIMENTATION_SPLIT_OK && s.index >= 0 && s.index < r.n)
			std::snprintf(r.message, sizeof r.message, "Zeile %d: %s", r.line[s.index], why);
		else if (s.status != SEDIMENTATION_SPLIT_OK)
			std::snprintf(r.message, sizeof r.message, "%s", why);
	}
	start_json();
	put("{");
	member("message", r.message, true);
	if (r.message[0] == '\0') {
		put(",\"limits\":[");
		for (int k = 0; k < 3; k++)
			put_limit(r, s, k, d, residue);
		put("]");
		put_shares(r, s, residue, mass);
		put_points(r, s, residue);
	}
	put("}");
	return json_text();
}
