#ifndef ABSINK_ARGUMENT_HPP
#define ABSINK_ARGUMENT_HPP

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
 * Returns 0 when the text does not convert: no digit before the first
 * character that does not fit ("abc", "-", ".", "inf", "nan"), an exponent
 * marker followed by a character other than a digit ("1ex", "1e+x"), or a
 * magnitude outside float's normal range: below 2^-126, or one that rounds
 * to infinity.  Hexadecimal is not recognised ("0x10" reads as 0) and a
 * comma is no decimal point ("1,5" reads as 1).
 */
float convert_argument(const char *text);

#endif
