/*
 * The web page's reading and JSON for any two texts: the input is the
 * diameter, a newline and the density, as they may be typed or pasted.
 * Under AddressSanitizer and UndefinedBehaviorSanitizer the reading (the
 * decimal comma, the grouped reading that rewrites the argument, the
 * notes that quote what was typed) stays in its buffers, and the JSON is
 * one object with no raw control character, whatever was typed.  The
 * whole input is also a distribution to split, as pasted, with the
 * density, as sizes or residues, geometric or aerodynamic.
 */
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" const char *absink_particle(const char *diameter, const char *density, int shown);
extern "C" const char *absink_split(const char *lines, const char *density, int flags, const char *flow);

namespace {

/* One object, with no raw control character. */
void check_json(const char *json)
{
	const std::size_t n = std::strlen(json);
	if (n < 2 || json[0] != '{' || json[n - 1] != '}')
		std::abort();
	for (std::size_t i = 0; i < n; i++)
		if (static_cast<unsigned char>(json[i]) < 0x20)
			std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	const std::string input(reinterpret_cast<const char *>(data), size);
	const std::size_t newline = input.find('\n');
	/* A field holds text, never a NUL: cut at the first one. */
	const auto field = [](const std::string &text) { return text.substr(0, text.find('\0')); };
	const std::string d = field(input.substr(0, newline));
	const std::string rho = newline == std::string::npos ? "1" : field(input.substr(newline + 1));
	for (const int shown : {0, 7})
		check_json(absink_particle(d.c_str(), rho.c_str(), shown));
	const std::string lines = field(input);
	for (const int flags : {0, 3})
		check_json(absink_split(lines.c_str(), rho.c_str(), flags, d.c_str()));
	return 0;
}
