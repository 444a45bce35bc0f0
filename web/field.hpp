#ifndef ABSINK_WEB_FIELD_HPP
#define ABSINK_WEB_FIELD_HPP

/*
 * A field of the web page as the page reads it: absink's own reading
 * (app/argument.hpp), with exceptions for German hands, and what it leaves
 * in doubt or unread, in the page's words.
 */
#include "web/json.hpp"

struct field {
	char argument[longest]; /* what absink is given */
	char typed[128];        /* what was typed, quoted: the start of a long text */
	float value;            /* as absink reads the argument */
	bool converts;          /* it reads as a number, 0 and below too */
	bool whole;             /* absink reads it to its end (but for blanks) */
	bool gives_report;      /* false: the usage screen */
	char fault[64];         /* why not, in the page's short words */
	char note[320];         /* what the reading leaves in doubt or unread */
};

/* What a field holds: a diameter may group thousands ("1.000" gets a
 * note), a density never, and is noted above the densest solid; a plain
 * number (a percentage) neither. */
enum class field_kind { diameter, density, number };

/* Reads the text typed into the field named (Durchmesser, Dichte). */
void read_field(field &f, const char *name, const char *text, field_kind kind);

/* n bytes of text quoted, „…“; of a long text its first 24 characters. */
void quote(char (&out)[128], const char *text, std::size_t n);

/* "key":{the field} after a comma. */
void put_field(const char *key, const field &f);

#endif
