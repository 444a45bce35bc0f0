#ifndef ABSINK_TESTS_PRINTABLE_HPP
#define ABSINK_TESTS_PRINTABLE_HPP

#include <cstddef>
#include <cstdio>
#include <string>

/* Argument text for test names: visible ASCII as it is, other bytes as \xNN,
 * at most max bytes of it.  CTest takes a test's name from one line. */
inline std::string printable(const std::string &text, std::size_t max = 40)
{
	std::string s;
	for (std::size_t i = 0; i < text.size() && i < max; i++) {
		const auto c = static_cast<unsigned char>(text[i]);
		if (c > ' ' && c < 0x7f) {
			s += static_cast<char>(c);
		} else {
			char hex[5];
			std::snprintf(hex, sizeof hex, "\\x%02x", c);
			s += hex;
		}
	}
	if (text.size() > max)
		s += "...";
	return s;
}

#endif
