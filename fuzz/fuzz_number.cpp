/*
 * convert_argument against an independent reading of the same grammar.
 *
 * The oracle finds the longest accepted prefix with a state machine, reads
 * it with std::from_chars (the program uses strtod), and rounds the double
 * to float itself.  For every
 * input the result must equal the oracle's, and it is never subnormal, NaN
 * or infinite.
 */
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/argument.hpp"

namespace {

enum class State { start, sign, integer, point, fraction, marker, exponent_sign, exponent, stop };

/* One transition of the number grammar; stop where c does not fit. */
State step(State state, char c)
{
	const bool digit = c >= '0' && c <= '9';
	const bool sign = c == '+' || c == '-';
	const bool marker = c == 'e' || c == 'E';
	switch (state) {
	case State::start:
		if (c == ' ' || (c >= '\t' && c <= '\r'))
			return State::start;
		return sign ? State::sign : digit ? State::integer : c == '.' ? State::point : State::stop;
	case State::sign:
		return digit ? State::integer : c == '.' ? State::point : State::stop;
	case State::integer:
		return digit      ? State::integer
		       : c == '.' ? State::fraction
		       : marker   ? State::marker
				  : State::stop;
	case State::point:
		return digit ? State::fraction : State::stop;
	case State::fraction:
		return digit ? State::fraction : marker ? State::marker : State::stop;
	case State::marker:
		return sign ? State::exponent_sign : digit ? State::exponent : State::stop;
	case State::exponent_sign:
	case State::exponent:
		return digit ? State::exponent : State::stop;
	case State::stop:
		break;
	}
	return State::stop;
}

struct Prefix {
	bool ok;          /* false: the grammar says the text does not convert */
	std::string text; /* the longest accepted prefix, sign included */
};

Prefix longest_prefix(const std::string &s)
{
	State state = State::start;
	std::size_t begin = 0;    /* after the white space */
	std::size_t accepted = 0; /* end of the longest accepted prefix */
	std::size_t i = 0;
	for (; i < s.size(); i++) {
		const State next = step(state, s[i]);
		if (next == State::stop)
			break;
		state = next;
		if (state == State::start)
			begin = i + 1;
		if (state == State::integer || state == State::fraction || state == State::exponent)
			accepted = i + 1;
	}
	switch (state) {
	case State::start:
	case State::sign:
	case State::point:
		return {false, {}}; /* no digit */
	case State::marker:
	case State::exponent_sign:
		if (i < s.size())
			return {false, {}}; /* the marker is followed by a non-digit */
		break;                      /* at the very end it is dropped */
	default:
		break;
	}
	return {true, s.substr(begin, accepted - begin)};
}

float expected(const std::string &s)
{
	const Prefix p = longest_prefix(s);
	if (!p.ok)
		return 0.0F;
	/* from_chars takes no plus sign, and leaves v alone out of range */
	const char *first = p.text.data();
	const char *last = first + p.text.size();
	const bool negative = *first == '-';
	if (*first == '+' || *first == '-')
		first++;
	double mag = 0.0;
	const auto r = std::from_chars(first, last, mag, std::chars_format::general);
	if (r.ptr != last)
		std::abort(); /* the oracle's own grammar is wrong */
	if (r.ec == std::errc::result_out_of_range)
		return 0.0F;
	if (mag < std::ldexp(1.0, -126) || mag >= std::ldexp(0x1.ffffffp0, 127))
		return 0.0F;
	const float f = mag > FLT_MAX ? FLT_MAX : static_cast<float>(mag);
	return negative ? -f : f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	/* An argument ends at its first NUL. */
	std::string s(reinterpret_cast<const char *>(data), size);
	s.resize(s.find('\0') == std::string::npos ? size : s.find('\0'));

	const float got = convert_argument(s.c_str());
	const int kind = std::fpclassify(got);
	if (kind != FP_ZERO && kind != FP_NORMAL)
		std::abort();
	if (got != expected(s))
		std::abort();
	return 0;
}
