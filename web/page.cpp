/*
 * What the web page asks of the program besides its runs, which it makes
 * with the program's own main.  The page's script holds no rule, no number
 * and no text of its own: it gets, by name, as JSON,
 *
 *  - each field as the page reads it: the argument that absink is given
 *    (the text as typed, a decimal comma made a point), whether it gives a
 *    report, and a German note where the reading needs one;
 *  - each particle's values as the report prints them, the warning or why
 *    there is no report, one sentence that explains the result (its regime,
 *    why vs is 0, why the warning stands) and a brief one for screen
 *    readers;
 *
 * and, for the plot, the model with the report's rules.  C linkage, so that
 * the script calls them by name.  No std::string: the page carries its
 * program in 88 KiB, and the C++ library's strings would add a third to it.
 */
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/argument.hpp"
#include "app/report.hpp"
#include "sedimentation/model.hpp"
#include "sedimentation/sedimentation.h"

extern "C" {
const char *absink_particle(const char *diameter, const char *density);
double absink_reported_velocity(float d, float rho);
double absink_stokes_diameter(float rho);
}

namespace {

/* The longest text a field takes (its maxlength), the longest argument
 * Linux passes, with its NUL. */
constexpr std::size_t longest = 131072;

/* A field as the page reads it. */
struct field {
	char argument[longest]; /* what absink is given */
	char typed[128];        /* what was typed, quoted: the start of a long text */
	float value;            /* as absink reads the argument */
	bool gives_report;      /* false: the usage screen */
	char fault[64];         /* why not, in the page's short words */
	char note[320];         /* what the reading leaves in doubt or unread */
};

/* printf at the end of a buffer that holds a string already; C variadic,
 * unlike a parameter pack, so that the compiler checks formats. */
[[gnu::format(printf, 3, 4)]] void
add(char *buffer, std::size_t size, const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	const std::size_t used = std::strlen(buffer);
	va_list ap;
	va_start(ap, format);
	std::vsnprintf(buffer + used, size - used, format, ap);
	va_end(ap);
}

/* n bytes of text quoted, „…“; of a long text its first 24 characters (a
 * character is a UTF-8 sequence, whose lead bytes are counted). */
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
 * Reads a field as absink does, with one exception for German hands: a
 * comma where absink stops reading, right after the digits of a number
 * without a point, is a decimal sign ("2,65" is 2.65).  A separator that
 * may group thousands ("1.000", "12,500": one to three digits, the first
 * not 0, then three) or a text with both separators ("1.000,5") is read
 * as absink reads it, with a note that names the doubt.
 */
void read_field(field &f, const char *name, const char *text)
{
	const std::size_t length = strnlen(text, longest - 1);
	std::memcpy(f.argument, text, length);
	f.argument[length] = '\0';
	quote(f.typed, text, length);
	f.fault[0] = f.note[0] = '\0';

	std::size_t start = 0;
	while (is_space(text[start]))
		start++;
	const std::size_t first = start + (text[start] == '+' || text[start] == '-');
	std::size_t separator = first;
	while (is_digit(text[separator]))
		separator++;
	argument_reading r = read_argument(text);
	if (r.end == separator && text[separator] == ',') {
		f.argument[separator] = '.';
		r = read_argument(f.argument);
	}
	f.value = r.value;
	f.gives_report = r.fault == argument_fault::none && report_accepts(r.value);
	if (start == length)
		std::snprintf(f.fault, sizeof f.fault, "%s: leer", name);
	else if (!f.gives_report)
		std::snprintf(f.fault, sizeof f.fault, "%s: %s", name, fault_words(r.fault));

	/* The separator absink read as a point, and what stands after the
	 * reading. */
	const bool separated = separator < r.end && f.argument[separator] == '.';
	const char next = text[r.end];
	if (separated && (next == '.' || next == ',') && next != text[separator])
		std::snprintf(
			f.note, sizeof f.note,
			"Punkt und Komma zugleich: gelesen als %g, mit „%c“ als Dezimalzeichen",
			static_cast<double>(r.value), text[separator]);
	else if (
		separated && separator > first && separator - first <= 3 && text[first] != '0' &&
		r.end == separator + 4 && f.gives_report)
		std::snprintf(
			f.note, sizeof f.note,
			"mehrdeutig: gelesen als %g; für %.*s%.3s ohne Trennzeichen eingeben",
			static_cast<double>(r.value), static_cast<int>(separator - first), text + first,
			text + separator + 1);
	std::size_t rest = r.end;
	while (is_space(text[rest]))
		rest++;
	if (r.end > start && text[rest] != '\0' && r.fault != argument_fault::no_digits &&
	    r.fault != argument_fault::bad_exponent) {
		char read[128];
		char unread[128];
		quote(read, text + start, r.end - start);
		quote(unread, text + r.end, length - r.end);
		/* What was read, as typed; quoted only where it is long. */
		const bool whole = r.end - start <= 24;
		add(f.note, sizeof f.note, "%sgelesen: %.*s – %s nicht gelesen", f.note[0] ? "; " : "",
		    whole ? static_cast<int>(r.end - start) : static_cast<int>(sizeof read),
		    whole ? text + start : read, unread);
	}
}

/* The JSON handed to the script, the page's until the next call: two
 * fields of the longest text, each byte escaped at the worst (\u001f),
 * and the rest. */
char json[longest * 2 * 6 + 16384];
std::size_t json_size;

void put(const char *text, std::size_t n)
{
	std::memcpy(json + json_size, text, n);
	json_size += n;
	json[json_size] = '\0';
}

void put(const char *text)
{
	put(text, std::strlen(text));
}

/* A string in JSON's syntax: quotes, backslashes and control characters
 * escaped; everything else, UTF-8 included, as it is. */
void put_string(const char *text)
{
	put("\"");
	for (const char *p = text;; p++) {
		std::size_t plain = 0;
		while (p[plain] != '\0' && p[plain] != '"' && p[plain] != '\\' &&
		       static_cast<unsigned char>(p[plain]) >= 0x20)
			plain++;
		put(p, plain);
		p += plain;
		if (*p == '\0')
			break;
		char escaped[8];
		if (*p == '"' || *p == '\\')
			std::snprintf(escaped, sizeof escaped, "\\%c", *p);
		else
			std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(*p));
		put(escaped);
	}
	put("\"");
}

/* "key":"value", after a comma unless it opens an object. */
void member(const char *key, const char *value, bool first = false)
{
	put(first ? "\"" : ",\"");
	put(key);
	put("\":");
	put_string(value);
}

/* A value as the report prints it, "%9.4f" without the padding. */
struct digits {
	char text[48];
	explicit digits(float value)
	{
		std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
	}
};

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

/*
 * The sentence beside a report: the regime that gave Nre, and why the
 * report gives vs = 0 or a warning; and the brief one for screen readers.
 */
void explain(float d, float rho, char (&sentence)[768], char (&brief)[1024])
{
	const unrounded_result r = settling(d, rho);
	const float w = r.best_number;
	const float nre = r.reynolds_number;
	const auto vs = static_cast<float>(r.velocity); /* below 1e16: in range */
	std::snprintf(
		sentence, sizeof sentence,
		r.stokes ? "Nre folgt dem Stokesschen Gesetz (Nre = w/24), da w = %s unter 0.24 liegt"
			 : "Nre folgt Beards Polynom in ln w, da w = %s nicht unter 0.24 liegt",
		digits(w).text);
	if (w > beard_peak_best_number) {
		add(sentence, sizeof sentence,
		    "; statt vs steht die Warnung, weil w über 9.1·10⁵ liegt, jenseits des Scheitels "
		    "von Beards Polynom: dort bedeutet die gedruckte Reynoldszahl %s nichts, die wahre "
		    "liegt weit über 300.",
		    digits(nre).text);
		std::snprintf(
			brief, sizeof brief,
			"Warnung statt vs: w über 9.1·10⁵, jenseits von Beards Polynom.");
	} else if (report_warns(w, nre)) {
		add(sentence, sizeof sentence,
		    "; statt vs steht die Warnung, weil Nre = %s über 300 liegt, wo Beards Polynom nicht "
		    "mehr gilt.",
		    digits(nre).text);
		std::snprintf(brief, sizeof brief, "Warnung statt vs: Nre über 300.");
	} else if (reported_velocity(w, vs) != vs) {
		add(sentence, sizeof sentence,
		    "; vs ist 0, weil w = %.7g unter 0.003 liegt%s: das Teilchen gilt als nicht "
		    "sinkend, berechnet wären %s cm/s.",
		    static_cast<double>(w),
		    std::strcmp(digits(w).text, "0.0030") == 0 ? " (gedruckt gerundet 0.0030)" : "",
		    digits(vs).text);
		std::snprintf(
			brief, sizeof brief, "vs = 0: w unter 0.003, das Teilchen gilt als nicht sinkend.");
	} else {
		add(sentence, sizeof sentence, ".");
		std::snprintf(
			brief, sizeof brief, "vs = %s cm/s, nach %s.", digits(vs).text,
			r.stokes ? "dem Stokesschen Gesetz" : "Beards Polynom");
	}
}

} // namespace

/*
 * One particle as the page shows it, as JSON: the two fields (d, rho),
 * the report's values (d, rho, w, nre, vs, as it prints them; vs empty
 * where it warns; null without a report), the warning, the sentence and
 * the brief status.  The text is the page's until its next call.
 */
const char *absink_particle(const char *diameter, const char *density)
{
	static field d;
	static field rho;
	read_field(d, "Durchmesser", diameter);
	read_field(rho, "Dichte", density);
	char sentence[768] = "";
	char brief[1024] = "";
	json_size = 0;
	put("{\"values\":");
	if (d.gives_report && rho.gives_report) {
		const sedimentation_result r = sedimentation_compute(d.value, rho.value);
		const bool warns = report_warns(r.best_number, r.reynolds_number);
		put("{");
		member("d", digits(d.value).text, true);
		member("rho", digits(rho.value).text);
		member("w", digits(r.best_number).text);
		member("nre", digits(r.reynolds_number).text);
		member("vs", warns ? "" : digits(reported_velocity(r.best_number, r.velocity)).text);
		put("}");
		member("warning", warns ? warning_line : "");
		explain(d.value, rho.value, sentence, brief);
	} else {
		const char *const between = d.fault[0] && rho.fault[0] ? "; " : "";
		put("null");
		member("warning", "");
		std::snprintf(
			sentence, sizeof sentence, "Kein Bericht, sondern die Aufrufhilfe: %s%s%s.", d.fault,
			between, rho.fault);
		std::snprintf(brief, sizeof brief, "%s%s%s.", d.fault, between, rho.fault);
	}
	if (d.note[0])
		add(brief, sizeof brief, " Durchmesser: %s.", d.note);
	if (rho.note[0])
		add(brief, sizeof brief, " Dichte: %s.", rho.note);
	member("sentence", sentence);
	member("brief", brief);
	put_field("d", d);
	put_field("rho", rho);
	put("}");
	return json;
}

/* The velocity in cm/s that the report gives for a particle of diameter d
 * (um) and density rho (g/cm^3): 0 where it shows zero, -1 where it warns
 * instead. */
double absink_reported_velocity(float d, float rho)
{
	const sedimentation_result r = sedimentation_compute(d, rho);
	if (report_warns(r.best_number, r.reynolds_number))
		return -1.0;
	return static_cast<double>(reported_velocity(r.best_number, r.velocity));
}

/* The diameter in um at which w = best_factor d^3 rho reaches the limit of
 * Stokes' regime. */
double absink_stokes_diameter(float rho)
{
	return std::cbrt(stokes_limit / (best_factor * static_cast<double>(rho)));
}
