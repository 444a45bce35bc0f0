/*
 * A field of the web page as the page reads it (field.hpp).
 */
#include "web/field.hpp"

#include <cstdio>
#include <cstring>

#include "app/argument.hpp"
#include "app/report.hpp"

namespace {

/* The densest solid, osmium (22.59 g/cm^3 at 20 degrees C), in g/cm^3: a
 * density above it is most likely a column of percentages pasted as the
 * density (sieve analyses give the passing beside the size).  Noted, and
 * computed all the same: the model holds for any density. */
constexpr float densest_solid = 22.6F;

const char *fault_words(argument_fault fault)
{
	switch (fault) {
	case argument_fault::none:
		return "nicht größer als 0";
	case argument_fault::no_digits:
		return "keine Zahl";
	case argument_fault::bad_exponent:
		return "nach dem e fehlt der Exponent";
	case argument_fault::too_small:
		return "zu klein, unter 1.2e-38";
	case argument_fault::too_large:
		return "zu groß, über 3.4e38";
	}
	return "";
}

/*
 * Where a number groups its digits in threes with one separator and ends
 * them with the other ("1.000,5", "1,000.5", "12.345.678,9"), it has one
 * reading in either convention: the last separator is the decimal sign.
 * The length of that grouped part from first, up to the decimal sign;
 * 0 where the text is no such number.
 */
std::size_t grouped_length(const char *text, std::size_t first)
{
	if (text[first] < '1' || text[first] > '9')
		return 0;
	std::size_t i = first;
	while (i - first < 3 && is_digit(text[i]))
		i++;
	const char group = text[i];
	if (group != '.' && group != ',')
		return 0;
	while (text[i] == group && is_digit(text[i + 1]) && is_digit(text[i + 2]) && is_digit(text[i + 3]))
		i += 4;
	const char decimal = group == '.' ? ',' : '.';
	/* No group at all leaves text[i] at the group's separator, no decimal sign. */
	return text[i] == decimal && is_digit(text[i + 1]) ? i - first : 0;
}

/* Where a field's parts lie in the text as typed: the number after its
 * white space, its digits after the sign, the first separator after them,
 * the grouped part's length (0 where there is none), and the separators
 * that the grouped reading drops. */
struct layout {
	std::size_t length, start, first, separator, grouped, removed;
};

layout lay_out(const char *text, bool diameter)
{
	layout l{strnlen(text, longest - 1), 0, 0, 0, 0, 0};
	while (is_space(text[l.start]))
		l.start++;
	l.first = l.start + (text[l.start] == '+' || text[l.start] == '-');
	l.separator = l.first;
	while (is_digit(text[l.separator]))
		l.separator++;
	l.grouped = diameter ? grouped_length(text, l.first) : 0;
	return l;
}

/* The argument absink is given, and its reading.  The grouped reading:
 * the digits without their separators, a point, the rest.  Otherwise a
 * comma where absink stops reading, right after the digits of a number
 * without a point, is a decimal sign. */
argument_reading read_value(field &f, const char *text, layout &l)
{
	std::memcpy(f.argument, text, l.length);
	f.argument[l.length] = '\0';
	if (l.grouped != 0) {
		std::size_t n = l.first;
		for (std::size_t k = l.first; k < l.first + l.grouped; k++)
			if (is_digit(text[k]))
				f.argument[n++] = text[k];
		f.argument[n++] = '.';
		l.removed = l.first + l.grouped + 1 - n;
		std::memmove(f.argument + n, text + l.first + l.grouped + 1, l.length - l.first - l.grouped);
	}
	argument_reading r = read_argument(f.argument);
	if (l.grouped == 0 && r.end == l.separator && text[l.separator] == ',') {
		f.argument[l.separator] = '.';
		r = read_argument(f.argument);
	}
	f.value = r.value;
	f.converts = r.fault == argument_fault::none && l.start != l.length;
	f.gives_report = r.fault == argument_fault::none && report_accepts(r.value);
	return r;
}

/* Whether a diameter may group thousands ("1.000", "12,500": one to three
 * digits, the first not 0, a separator, three digits and nothing more of
 * the number, not even a further separator and digit, "1.000.5"). */
bool may_group(const field &f, const char *text, const layout &l, const argument_reading &r)
{
	const std::size_t end = r.end + l.removed;
	const char next = text[end];
	return l.separator > l.first && l.separator - l.first <= 3 && text[l.first] != '0' &&
	       r.end == l.separator + 4 && is_digit(text[l.separator + 1]) &&
	       is_digit(text[l.separator + 2]) && is_digit(text[l.separator + 3]) && f.gives_report &&
	       !((next == '.' || next == ',') && is_digit(text[end + 1]));
}

/* The note on the separators: the grouped reading, both separators where
 * one ends the number, or a diameter that may group thousands. */
void note_separators(field &f, const char *text, const layout &l, const argument_reading &r, bool diameter)
{
	const char next = text[r.end + l.removed];
	const bool separated = l.grouped == 0 && l.separator < r.end && f.argument[l.separator] == '.';
	const char decimal = text[l.first + l.grouped];
	if (l.grouped != 0)
		std::snprintf(
			f.note, sizeof f.note,
			"Punkt und Komma zugleich: gelesen als %.*s, mit „%c“ als Dezimalzeichen und „%c“ "
			"zwischen Tausendern",
			static_cast<int>(r.end - l.start), f.argument + l.start, decimal,
			decimal == ',' ? '.' : ',');
	else if (separated && (next == '.' || next == ',') && next != text[l.separator])
		std::snprintf(
			f.note, sizeof f.note,
			"Punkt und Komma zugleich: gelesen als %g, mit „%c“ als Dezimalzeichen",
			static_cast<double>(r.value), text[l.separator]);
	else if (diameter && separated && may_group(f, text, l, r))
		std::snprintf(
			f.note, sizeof f.note,
			"mehrdeutig: gelesen als %g; für %.*s%.3s ohne Trennzeichen eingeben",
			static_cast<double>(r.value), static_cast<int>(l.separator - l.first), text + l.first,
			text + l.separator + 1);
}

/* The note on what absink does not read of a number: what was read, as
 * typed, quoted only where it is long, and the rest. */
void note_unread(field &f, const char *text, const layout &l, const argument_reading &r)
{
	const std::size_t end = r.end + l.removed;
	std::size_t rest = end;
	while (is_space(text[rest]))
		rest++;
	f.whole = text[rest] == '\0';
	if (r.end <= l.start || text[rest] == '\0' || r.fault == argument_fault::no_digits ||
	    r.fault == argument_fault::bad_exponent)
		return;
	char read[128];
	char unread[128];
	quote(read, text + l.start, end - l.start);
	quote(unread, text + end, l.length - end);
	const bool whole = end - l.start <= 24;
	add(f.note, sizeof f.note, "%sgelesen: %.*s – %s nicht gelesen", f.note[0] ? "; " : "",
	    whole ? static_cast<int>(end - l.start) : static_cast<int>(sizeof read),
	    whole ? text + l.start : read, unread);
}

} // namespace

/* A character is a UTF-8 sequence, whose lead bytes are counted. */
void quote(char (&out)[128], const char *text, std::size_t n)
{
	std::size_t end = 0;
	int characters = 0;
	for (; end < n; end++) {
		const bool lead = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
		if (lead && characters++ == 24)
			break;
	}
	std::snprintf(out, sizeof out, "„%.*s%s“", static_cast<int>(end), text, end < n ? "…" : "");
}

/*
 * absink's reading, with exceptions for German hands, each with a note
 * where it leaves a doubt:
 *
 *  - a comma where absink stops reading, right after the digits of a
 *    number without a point, is a decimal sign ("2,65" is 2.65);
 *  - a diameter with both separators in groups of three is read in its one
 *    reading ("1.000,5" is 1000.5), with a note;
 *  - a diameter that may group thousands ("1.000", "12,500") is read as
 *    absink reads it, with a note that names the other reading.  A density
 *    never: no solid is a thousand times as dense as water, so "2,650" is
 *    2.65 and "1.000" is 1, without a note; but a density above the
 *    densest solid's gets one.
 */
void read_field(field &f, const char *name, const char *text, field_kind kind)
{
	const bool diameter = kind == field_kind::diameter;
	layout l = lay_out(text, diameter);
	quote(f.typed, text, l.length);
	f.fault[0] = f.note[0] = '\0';
	const argument_reading r = read_value(f, text, l);
	if (l.start == l.length)
		std::snprintf(f.fault, sizeof f.fault, "%s: leer", name);
	else if (!f.gives_report)
		std::snprintf(f.fault, sizeof f.fault, "%s: %s", name, fault_words(r.fault));
	note_separators(f, text, l, r, diameter);
	note_unread(f, text, l, r);
	if (kind == field_kind::density && f.gives_report && f.value > densest_solid)
		add(f.note, sizeof f.note,
		    "%sdichter als jeder feste Stoff (Osmium: %g g/cm³): wohl eine Spalte Prozente als "
		    "Dichte eingefügt; gerechnet wird mit %g g/cm³",
		    f.note[0] ? "; " : "", static_cast<double>(densest_solid), static_cast<double>(f.value));
}

void put_field(const char *key, const field &f)
{
	put(",\"");
	put(key);
	put("\":{");
	member("argument", f.argument, true);
	member("typed", f.typed);
	member("value", f.gives_report ? digits(f.value).text : "");
	put(f.gives_report ? ",\"givesReport\":true" : ",\"givesReport\":false");
	member("fault", f.fault);
	member("note", f.note);
	put("}");
}
