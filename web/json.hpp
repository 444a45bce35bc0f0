#ifndef ABSINK_WEB_JSON_HPP
#define ABSINK_WEB_JSON_HPP

/*
 * The web page's answer as it is written: one JSON text, the page's until
 * the next call, and printf at the end of a buffer for the texts in it.
 * No std::string: the page carries its program in 120 KiB, and the C++
 * library's strings would add a third to it.
 */
#include <cstdarg>
#include <cstddef>

/* The longest text a field takes (its maxlength), the longest argument
 * Linux passes, with its NUL. */
inline constexpr std::size_t longest = 131072;

/* printf at the end of a buffer that holds a string already. */
[[gnu::format(printf, 3, 0)]] void add_v(char *buffer, std::size_t size, const char *format, va_list ap);
[[gnu::format(printf, 3, 4)]] void add(char *buffer, std::size_t size, const char *format, ...);

/* A value as the report prints it, "%9.4f" without the padding. */
struct digits {
	char text[48];
	explicit digits(float value);
};

/* The answer: empties it, and gives it, NUL-terminated. */
void start_json();
const char *json_text();

/* Text as it is, a string in JSON's syntax, and "key":"value" after a
 * comma unless it opens an object. */
void put(const char *text);
void put_string(const char *text);
void member(const char *key, const char *value, bool first = false);

#endif
