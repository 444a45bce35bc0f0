/*
 * The web page's answer as it is written (json.hpp).
 */
#include "web/json.hpp"

#include <cstdio>
#include <cstring>

namespace {

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

} // namespace

/* Every caller hands it a list that va_start began; the analyzer loses
 * track of that through the report's function pointer. */
void add_v(char *buffer, std::size_t size, const char *format, va_list ap)
{
	const std::size_t used = std::strlen(buffer);
	std::vsnprintf(buffer + used, size - used, format, ap); // NOLINT(clang-analyzer-valist.Uninitialized)
}

/* C variadic, unlike a parameter pack, so that the compiler checks
 * formats. */
void add(char *buffer, std::size_t size, const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	va_list ap;
	va_start(ap, format);
	add_v(buffer, size, format, ap);
	va_end(ap);
}

digits::digits(float value) : text{}
{
	std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
}

void start_json()
{
	json_size = 0;
	json[0] = '\0';
}

const char *json_text()
{
	return json;
}

void put(const char *text)
{
	put(text, std::strlen(text));
}

/* Quotes, backslashes and control characters escaped; everything else,
 * UTF-8 included, as it is. */
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

void member(const char *key, const char *value, bool first)
{
	put(first ? "\"" : ",\"");
	put(key);
	put("\":");
	put_string(value);
}
