#ifndef ABSINK_ARGUMENT_HPP
#define ABSINK_ARGUMENT_HPP

#include <cstddef>

/* ASCII tests of our own, for the reader and for the web page's reading
 * around it: <cctype> is locale-dependent and undefined for negative char
 * values, which any non-ASCII byte of an argument is. */
inline bool is_digit(char c)
{
	return c >= '0' && c <= '9';
}

inline bool is_space(char c)
{
	return c == ' ' || (c >= '\t' && c <= '\r');
}

/*
 * Reads a command-line number into single precision.
 *
 * Accepted: optional C white space, an optional sign, ASCII digits with an
 * optional decimal point (at least one digit on either side of it), and an
 * optional exponent (e or E, an optional sign, digits).  Reading stops at the
 * first character that does not fit; the rest is ignored.  An exponent
 * marker at the very end, with or without its sign, is dropped ("1e" is 1).
 *
 * The text is rounded correctly to double, however many digits it has, and
 * the double then to float.
 *
 * The value is 0 when the text does not convert: no digit before the first
 * character that does not fit ("abc", "-", ".", "inf", "nan"), an exponent
 * marker followed by a character other than a digit ("1ex", "1e+x"), or a
 * magnitude outside float's normal range: below 2^-126, or one that rounds
 * to infinity.  Hexadecimal is not recognised ("0x10" reads as 0) and a
 * comma is no decimal point ("1,5" reads as 1).
 */
float convert_argument(const char *text);

/* Why a text does not convert. */
enum class argument_fault {
	none,
	no_digits,    /* no digit before the first character that does not fit */
	bad_exponent, /* "1ex": the marker followed by something else */
	too_small,    /* a magnitude below float's normal range */
	too_large,    /* a magnitude that rounds to infinity */
};

/* The same reading, with where it stopped: for the web page, which tells
 * its user what of a field the program ignored. */
struct argument_reading {
	float value;          /* as convert_argument gives it */
	std::size_t end;      /* the bytes before the first one that does not fit */
	argument_fault fault; /* none where the text converts */
};
argument_reading read_argument(const char *text);

#endif
