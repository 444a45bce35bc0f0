/*
 * What the web page asks of the program: one call a keystroke, which gives
 * as JSON everything the page shows of a particle.  The page's script
 * holds no rule, no number and no text of its own: it gets, by name,
 *
 *  - each field as the page reads it: the argument that absink is given
 *    (the text as typed, a decimal comma made a point), whether it gives a
 *    report, and a German note where the reading needs one;
 *  - the report's text, which absink's own print_report writes, or the
 *    usage screen; the report's values as it prints them, what it shows
 *    in place of vs (the library's reported velocity, named), the warning,
 *    one sentence that explains the result
 *    (its regime, why vs is 0, why the warning stands) and a brief one for
 *    screen readers;
 *  - for the plot, the reported velocity with what it shows (a velocity,
 *    zero or the warning) at 60 diameters a decade, and the diameter where
 *    Stokes' regime ends.
 *
 * C linkage, so that the script calls it by name.  No std::string: the page
 * carries its program in 112 KiB, and the C++ library's strings would add a
 * third to it.
 */
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/argument.hpp"
#include "app/report.hpp"
#include "sedimentation/inverse.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/size_classes.h"
#include "sedimentation/steps.hpp"

/* What absink_particle adds to a particle's values, verdict and fields. */
enum : int {
	page_report = 1, /* the report's text, the sentence and the brief status */
	page_curve = 2,  /* the plot's curve for the density */
	page_line = 4,   /* the diameter is a table's line: "d", or "d<tab>rho" or "d;rho" */
};
extern "C" const char *absink_particle(const char *diameter, const char *density, int shown);

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

/* printf at the end of a buffer that holds a string already.  Every caller
 * hands it a list that va_start began; the analyzer loses track of that
 * through the report's function pointer. */
[[gnu::format(printf, 3, 0)]] void add_v(char *buffer, std::size_t size, const char *format, va_list ap)
{
	const std::size_t used = std::strlen(buffer);
	std::vsnprintf(buffer + used, size - used, format, ap); // NOLINT(clang-analyzer-valist.Uninitialized)
}

/* The same with printf's arguments; C variadic, unlike a parameter pack, so
 * that the compiler checks formats. */
[[gnu::format(printf, 3, 4)]] void
add(char *buffer, std::size_t size, const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	va_list ap;
	va_start(ap, format);
	add_v(buffer, size, format, ap);
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

/* The densest solid, osmium (22.59 g/cm^3 at 20 degrees C), in g/cm^3: a
 * density above it is most likely a column of percentages pasted as the
 * density (sieve analyses give the passing beside the size).  Noted, and
 * computed all the same: the model holds for any density. */
constexpr float densest_solid = 22.6F;

/*
 * Reads a field as absink does, with exceptions for German hands, each
 * with a note where it leaves a doubt:
 *
 *  - a comma where absink stops reading, right after the digits of a
 *    number without a point, is a decimal sign ("2,65" is 2.65);
 *  - a diameter with both separators in groups of three is read in its one
 *    reading ("1.000,5" is 1000.5), with a note;
 *  - a diameter that may group thousands ("1.000", "12,500": one to three
 *    digits, the first not 0, a separator, three digits and nothing more of
 *    the number, not even a further separator and digit, "1.000.5") is read
 *    as absink reads it, with a note that names the
 *    other reading.  A density never: no solid is a thousand times as
 *    dense as water, so "2,650" is 2.65 and "1.000" is 1, without a note.
 */
void read_field(field &f, const char *name, const char *text, bool diameter)
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

	/* The grouped reading: the digits without their separators, a point,
	 * the rest; removed, the separators that it drops. */
	const std::size_t grouped = diameter ? grouped_length(text, first) : 0;
	std::size_t removed = 0;
	if (grouped != 0) {
		std::size_t n = first;
		for (std::size_t k = first; k < first + grouped; k++)
			if (is_digit(text[k]))
				f.argument[n++] = text[k];
		f.argument[n++] = '.';
		removed = first + grouped + 1 - n;
		std::memmove(f.argument + n, text + first + grouped + 1, length - first - grouped);
	}
	argument_reading r = read_argument(f.argument);
	if (grouped == 0 && r.end == separator && text[separator] == ',') {
		f.argument[separator] = '.';
		r = read_argument(f.argument);
	}
	f.value = r.value;
	f.gives_report = r.fault == argument_fault::none && report_accepts(r.value);
	if (start == length)
		std::snprintf(f.fault, sizeof f.fault, "%s: leer", name);
	else if (!f.gives_report)
		std::snprintf(f.fault, sizeof f.fault, "%s: %s", name, fault_words(r.fault));

	/* Where the reading ends in the text as typed. */
	const std::size_t end = r.end + removed;
	const bool separated = grouped == 0 && separator < r.end && f.argument[separator] == '.';
	const char next = text[end];
	if (grouped != 0)
		std::snprintf(
			f.note, sizeof f.note,
			"Punkt und Komma zugleich: gelesen als %.*s, mit „%c“ als Dezimalzeichen und „%c“ "
			"zwischen Tausendern",
			static_cast<int>(r.end - start), f.argument + start, text[first + grouped],
			text[first + grouped] == ',' ? '.' : ',');
	else if (separated && (next == '.' || next == ',') && next != text[separator])
		std::snprintf(
			f.note, sizeof f.note,
			"Punkt und Komma zugleich: gelesen als %g, mit „%c“ als Dezimalzeichen",
			static_cast<double>(r.value), text[separator]);
	else if (
		diameter && separated && separator > first && separator - first <= 3 && text[first] != '0' &&
		r.end == separator + 4 && is_digit(text[separator + 1]) && is_digit(text[separator + 2]) &&
		is_digit(text[separator + 3]) && f.gives_report &&
		!((next == '.' || next == ',') && is_digit(text[end + 1])))
		std::snprintf(
			f.note, sizeof f.note,
			"mehrdeutig: gelesen als %g; für %.*s%.3s ohne Trennzeichen eingeben",
			static_cast<double>(r.value), static_cast<int>(separator - first), text + first,
			text + separator + 1);
	std::size_t rest = end;
	while (is_space(text[rest]))
		rest++;
	if (r.end > start && text[rest] != '\0' && r.fault != argument_fault::no_digits &&
	    r.fault != argument_fault::bad_exponent) {
		char read[128];
		char unread[128];
		quote(read, text + start, end - start);
		quote(unread, text + end, length - end);
		/* What was read, as typed; quoted only where it is long. */
		const bool whole = end - start <= 24;
		add(f.note, sizeof f.note, "%sgelesen: %.*s – %s nicht gelesen", f.note[0] ? "; " : "",
		    whole ? static_cast<int>(end - start) : static_cast<int>(sizeof read),
		    whole ? text + start : read, unread);
	}
	if (!diameter && f.gives_report && f.value > densest_solid)
		add(f.note, sizeof f.note,
		    "%sdichter als jeder feste Stoff (Osmium: %g g/cm³): wohl eine Spalte Prozente als "
		    "Dichte eingefügt; gerechnet wird mit %g g/cm³",
		    f.note[0] ? "; " : "", static_cast<double>(densest_solid), static_cast<double>(f.value));
}

/* The JSON handed to the script, the page's until the next call: two
 * fields of the longest text, each byte escaped at the worst (\u001f),
 * once as the argument and once in the command line, and the rest. */
char json[longest * 4 * 6 + 32768];
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
		char escaped[16];
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

/* A limit as the sentences name it: "0.24", "300", or from 10^4 on a
 * power of ten written as Germans print it, "9.1·10⁵". */
struct limit {
	char text[32];
	explicit limit(double value)
	{
		if (value < 1e4) {
			std::snprintf(text, sizeof text, "%g", value);
			return;
		}
		char e[16]; /* "9.1e+05" */
		std::snprintf(e, sizeof e, "%.6e", value);
		char *exponent = std::strchr(e, 'e');
		*exponent = '\0';
		for (char *end = exponent - 1; *end == '0' || *end == '.'; end--)
			*end = '\0';
		std::snprintf(text, sizeof text, "%s·10", e);
		static const char *const superscript[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
		const char *p = exponent + 2; /* past "e+", and its leading zeros */
		while (*p == '0' && p[1] != '\0')
			p++;
		for (; *p != '\0'; p++)
			add(text, sizeof text, "%s", superscript[*p - '0']);
	}
};

/* A velocity the report shows as a JSON number, with the digits that name
 * its float; null where the report warns (NaN). */
struct velocity_json {
	char text[32] = "null";
	explicit velocity_json(float shown)
	{
		if (!std::isnan(shown))
			std::snprintf(text, sizeof text, "%.9g", static_cast<double>(shown));
	}
};

/* What the report shows in place of vs, in the words that the page's
 * script takes as they come (a plot's band, a mark's place, a class):
 * the library's reported velocity (NaN where the report warns) named. */
const char *shown_as(float shown)
{
	if (std::isnan(shown))
		return "warn";
	return shown == 0.0F ? "zero" : "velocity";
}

/*
 * The particle's aerodynamic diameter as the page gives it: the library's
 * (its twin, from aerodynamic_twin, with the reason where it has none),
 * printed as the report prints its values, "%.4f", with TA Luft's class
 * as the library decides it.  For the check a reviewer makes: the
 * velocity of the printed twin, which may lie a unit of the last digit
 * off the particle's, since the twin's diameter is rounded to four places.
 */
struct aerodynamic {
	twin found{NAN, twin_status::outside_domain};
	char printed[48] = "";   /* to four places; empty where there is none */
	char twin_vs[48] = "";   /* the model's vs of the printed twin, to four places */
	int size_class = 0;      /* 1 to 4; 0 where none follows */
	char text[200] = "";     /* the class with its limits and source, and PM10 and PM2.5 */
	char reason[200] = "";   /* why there is no da */
	char sentence[480] = ""; /* the page's line on it: da and its class, or the reason */
};

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
			text, sizeof text, "%s%g bis %s%g µm", ta_luft_limit_goes_up[lower] != 0 ? "" : "über ",
			ta_luft_limits[lower], ta_luft_limit_goes_up[upper] != 0 ? "unter " : "",
			ta_luft_limits[upper]);
	}
}

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
				a.sentence, sizeof a.sentence,
				"Kein aerodynamischer Durchmesser: %s. %s.",
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

/*
 * The sentence beside a report: the regime that gave Nre, and why the
 * report gives vs = 0 or a warning; and the brief one for screen readers.
 */
void explain(const report_outcome &o, char (&sentence)[768], char (&brief)[1024])
{
	const settling_steps s = settling(o.d, o.rho);
	const digits w(o.result.best_number);
	const limit stokes(stokes_limit);
	std::snprintf(
		sentence, sizeof sentence,
		s.stokes ? "Nre folgt dem Stokesschen Gesetz (Nre = w/24), da w = %s unter %s liegt"
			 : "Nre folgt Beards Polynom in ln w, da w = %s nicht unter %s liegt",
		w.text, stokes.text);
	const char *const regime = s.stokes ? "dem Stokesschen Gesetz" : "Beards Polynom";
	const limit peak(beard_peak_best_number);
	const limit reynolds(static_cast<double>(reynolds_limit));
	const limit zero(settling_limit);
	switch (o.verdict) {
	case SEDIMENTATION_BEYOND_PEAK:
		add(sentence, sizeof sentence,
		    "; statt vs steht die Warnung, weil w über %s liegt, jenseits des Scheitels "
		    "von Beards Polynom (eine Regel von absink, nicht der Richtlinie): dort bedeutet die "
		    "gedruckte Reynoldszahl %s nichts, die wahre liegt weit über %s.",
		    peak.text, digits(o.result.reynolds_number).text, reynolds.text);
		std::snprintf(
			brief, sizeof brief, "Warnung statt vs: w über %s, jenseits von Beards Polynom.",
			peak.text);
		break;
	case SEDIMENTATION_ABOVE_REYNOLDS_LIMIT:
		add(sentence, sizeof sentence,
		    "; statt vs steht die Warnung, weil Nre = %s über %s liegt, wo Beards Polynom nicht "
		    "mehr gilt (nach der Richtlinie).",
		    digits(o.result.reynolds_number).text, reynolds.text);
		std::snprintf(brief, sizeof brief, "Warnung statt vs: Nre über %s.", reynolds.text);
		break;
	case SEDIMENTATION_NOT_SETTLING: {
		/* A w that prints as the limit is below it all the same. */
		char rounded[80] = "";
		if (std::strcmp(w.text, digits(static_cast<float>(settling_limit)).text) == 0)
			std::snprintf(rounded, sizeof rounded, " (gedruckt gerundet %s)", w.text);
		add(sentence, sizeof sentence,
		    "; vs ist 0, weil w = %.7g unter %s liegt%s: das Teilchen gilt als nicht "
		    "sinkend (nach der Richtlinie), berechnet wären %s cm/s.",
		    static_cast<double>(o.result.best_number), zero.text, rounded,
		    digits(o.result.velocity).text);
		std::snprintf(
			brief, sizeof brief, "vs = 0: w unter %s, das Teilchen gilt als nicht sinkend.",
			zero.text);
		break;
	}
	case SEDIMENTATION_SETTLES:
		add(sentence, sizeof sentence, ".");
		std::snprintf(
			brief, sizeof brief, "vs = %s cm/s, nach %s.", digits(o.result.velocity).text,
			regime);
		break;
	}
}

/* Why a table's row shows no velocity or 0, with the rule's source; empty
 * where it shows one. */
void reason(const report_outcome &o, char (&text)[256])
{
	text[0] = '\0';
	switch (o.verdict) {
	case SEDIMENTATION_BEYOND_PEAK:
		std::snprintf(
			text, sizeof text,
			"w über %s, jenseits des Scheitels von Beards Polynom (Regel von absink, nicht der "
			"Richtlinie)",
			limit(beard_peak_best_number).text);
		break;
	case SEDIMENTATION_ABOVE_REYNOLDS_LIMIT:
		std::snprintf(
			text, sizeof text, "Nre = %s über %s, wo Beards Polynom nicht mehr gilt (Richtlinie)",
			digits(o.result.reynolds_number).text,
			limit(static_cast<double>(reynolds_limit)).text);
		break;
	case SEDIMENTATION_NOT_SETTLING:
		std::snprintf(
			text, sizeof text, "vs = 0, weil w = %.7g unter %s liegt: nicht sinkend (Richtlinie)",
			static_cast<double>(o.result.best_number), limit(settling_limit).text);
		break;
	case SEDIMENTATION_SETTLES:
		break;
	}
}

/* One step of the particle's computation, ["term","text"], after a comma
 * unless it is the first. */
[[gnu::format(printf, 3, 4)]] void
put_step(bool first, const char *term, const char *format, ...) // NOLINT(cert-dcl50-cpp)
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

/*
 * The particle's own computation, step by step, with each rounding point
 * named and numbered: floats with 9 significant digits, which name one
 * float, doubles with 17, which name one double, so that each step can be
 * recomputed from the one before to the printed digits.
 */
void put_steps(const report_outcome &o, const aerodynamic &a)
{
	const settling_steps s = settling(o.d, o.rho);
	const auto wide = [](float v) { return static_cast<double>(v); };
	put(",\"steps\":[");
	put_step(
		true, "Eingaben", "d = %.9g µm, ρ = %.9g g/cm³: die Argumente in einfacher Genauigkeit",
		wide(o.d), wide(o.rho));
	int rounding = 1;
	put_step(
		false, "Bestzahl w",
		"((d · 4.991·10⁻⁵) · d) · d · ρ = %.17g in doppelter Genauigkeit; Rundung %d auf "
		"einfache Genauigkeit: w = %.9g",
		s.product, rounding++, wide(s.best_number));
	if (s.stokes) {
		put_step(
			false, "Bereich",
			"Stokessches Gesetz, da das ungerundete Produkt %.17g unter %s liegt", s.product,
			limit(stokes_limit).text);
		put_step(
			false, "Reynoldszahl Nre",
			"w · 0.041666668 (1/24 in einfacher Genauigkeit) = %.17g; Rundung %d: Nre = %.9g",
			s.reynolds_wide, rounding++, wide(s.reynolds_number));
	} else {
		put_step(
			false, "Bereich",
			"Beards Polynom, da das ungerundete Produkt %.17g nicht unter %s liegt", s.product,
			limit(stokes_limit).text);
		put_step(
			false, "X", "ln des ungerundeten Produkts; Rundung %d: X = %.9g", rounding++,
			wide(s.x));
		put_step(
			false, "Polynom", "Y = a₀ + a₁X + … + a₆X⁶ nach Horner, ungerundet: Y = %.17g",
			s.polynomial);
		put_step(
			false, "Reynoldszahl Nre", "e^Y = %.17g; Rundung %d: Nre = %.9g", s.reynolds_wide,
			rounding++, wide(s.reynolds_number));
	}
	put_step(
		false, "Sinkgeschwindigkeit vs", "Nre · 1462 / d = %.17g cm/s; Rundung %d: vs = %.9g cm/s",
		s.velocity, rounding, wide(o.result.velocity));
	char rule[256];
	reason(o, rule);
	put_step(
		false, "Bericht", "auf vier Nachkommastellen gedruckt: w = %s, Nre = %s, vs = %s%s%s",
		digits(o.result.best_number).text, digits(o.result.reynolds_number).text,
		std::isnan(o.shown) ? "keine, die Warnung" : digits(o.shown).text, rule[0] ? "; " : "", rule);
	put_aerodynamic_steps(o, a);
	put("]");
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

/* The report's text as absink prints it, the page's until the next call. */
char report_text[1024];

[[gnu::format(printf, 1, 2)]] void print_to_page(const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	va_list ap;
	va_start(ap, format);
	add_v(report_text, sizeof report_text, format, ap);
	va_end(ap);
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

} // namespace

/*
 * One particle as the page shows it, as JSON: the two fields (d, rho), the
 * report's values (d, rho, w, nre, vs, as it prints them; vs empty where it
 * warns; null without a report), what it shows in place of vs ("velocity",
 * "zero" or "warn"; null without a report), the velocity it shows (for the
 * plot's mark; null where it warns or without a report), the
 * warning and the reason for it or for a zero; with page_report the
 * report's text, the sentence, the brief status, the particle's steps and
 * the equivalent command line; with page_curve the plot's curve for the
 * density.  With page_line the diameter is a line of the table, which may
 * bring its own density after a tab or a semicolon (two cells pasted from
 * a spreadsheet); without one the density given counts.  The text is the
 * page's until its next call.
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
	read_field(d, "Durchmesser", diameter, true);
	read_field(rho, "Dichte", density, false);
	report_text[0] = '\0';
	const report_outcome o = print_report(print_to_page, d.argument, rho.argument);
	if (!o.reported)
		print_usage_screen(print_to_page);

	json_size = 0;
	put("{\"values\":");
	aerodynamic a;
	if (o.reported) {
		const bool warns = std::isnan(o.shown);
		a = aerodynamic_of(o);
		put("{");
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
	} else {
		put("null");
		put(R"(,"shown":null,"velocity":null)");
		member("warning", "");
		member("reason", "");
		put(R"(,"aerodynamic":null)");
	}
	if ((shown & page_report) != 0) {
		char sentence[768] = "";
		char brief[1024] = "";
		if (o.reported) {
			explain(o, sentence, brief);
			put_steps(o, a);
		} else {
			const char *const between = d.fault[0] && rho.fault[0] ? "; " : "";
			std::snprintf(
				sentence, sizeof sentence, "Kein Bericht, sondern die Aufrufhilfe: %s%s%s.",
				d.fault, between, rho.fault);
			std::snprintf(brief, sizeof brief, "%s%s%s.", d.fault, between, rho.fault);
			put(",\"steps\":[]");
		}
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
	if ((shown & page_curve) != 0) {
		if (rho.gives_report)
			put_curve(rho.value);
		else
			put(",\"curve\":null");
	}
	put_field("d", d);
	put_field("rho", rho);
	put("}");
	return json;
}
