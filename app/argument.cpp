#include "app/argument.hpp"
#include "sedimentation/single.h"

#include <cfloat>
#include <cstdlib>

namespace {

const char *skip_digits(const char *p)
{
	while (is_digit(*p))
		p++;
	return p;
}

} // namespace

float convert_argument(const char *text)
{
	return read_argument(text).value;
}

namespace {

/* Where a number's parts end in the text: its mantissa's digits from
 * first, the mantissa up to mantissa_end, the number up to last (past an
 * exponent); or the fault and where it lies (at last). */
struct scanned {
	const char *first, *mantissa_end, *last;
	bool negative;
	argument_fault fault;
};

scanned scan(const char *text)
{
	const char *p = text;
	while (is_space(*p))
		p++;
	/* The magnitude is read and rounded apart from its sign. */
	const bool negative = *p == '-';
	if (*p == '+' || *p == '-')
		p++;
	const char *q = skip_digits(p);
	bool digits = q != p;
	if (*q == '.') {
		const char *frac = q + 1;
		q = skip_digits(frac);
		digits = digits || q != frac;
	}
	if (!digits)
		return {p, q, q, negative, argument_fault::no_digits};
	const char *last = q;
	if (*q == 'e' || *q == 'E') {
		const char *e = q + 1;
		if (*e == '+' || *e == '-')
			e++;
		if (is_digit(*e))
			last = skip_digits(e);
		else if (*e != '\0')
			return {p, q, e, negative, argument_fault::bad_exponent};
		/* else: a marker at the very end is dropped */
	}
	return {p, q, last, negative, argument_fault::none};
}

} // namespace

argument_reading read_argument(const char *text)
{
	const scanned n = scan(text);
	const auto read = static_cast<std::size_t>(n.last - text);
	if (n.fault != argument_fault::none)
		return {0.0F, read, n.fault};

	/*
	 * strtod rounds correctly at any length.  It is preferred to
	 * std::from_chars, whose libstdc++ implementation pulls the C++
	 * runtime into the program: exceptions, pmr and their static
	 * initialisers, at a cost to every run.  Its decimal grammar agrees
	 * with the one above on [first, last); it reads further only where C99
	 * hexadecimal begins ("0x1" and the like), whose number here is the
	 * lone 0 before the x.  Out of double's range it gives 0 or infinity,
	 * and neither passes the range checks below.  No locale is set, so the
	 * decimal point is '.'.
	 */
	char *end = nullptr;
	const double v = std::strtod(n.first, &end);
	if (end != n.last)
		return {0.0F, read, argument_fault::none}; /* the 0 before an x */

	/* Below float's normal range the text reads as 0; a magnitude that
	 * rounds to infinity does not convert.  A zero is read as such:
	 * strtod gives 0 for "1e-400" too, but that mantissa has a digit
	 * other than 0. */
	bool zero = true;
	for (const char *r = n.first; r != n.mantissa_end; r++)
		zero = zero && (*r == '0' || *r == '.');
	if (zero)
		return {0.0F, read, argument_fault::none};
	if (v < FLT_MIN)
		return {0.0F, read, argument_fault::too_small};
	const float f = to_single(v);
	if (f > FLT_MAX)
		return {0.0F, read, argument_fault::too_large};
	return {n.negative ? -f : f, read, argument_fault::none};
}
