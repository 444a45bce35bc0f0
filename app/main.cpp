/*
 * absink: settling velocity of a particle in still air, by VDI 3782 Blatt 1.
 *
 *	absink <diameter in um> <density in g/cm^3>
 *
 * Prints a German report on standard output.  The exit status is 0 on every
 * path, the usage screen and the warning included: scripts read the report,
 * not the status.  The one exception: when standard output cannot be
 * written, a line on standard error and status 1, for a lost report must
 * not look like a delivered one.
 */
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "app/report.hpp"

[[noreturn]] static void finish();
[[gnu::format(printf, 1, 2)]] static void print(const char *format, ...);
[[noreturn]] static void print_usage();
[[noreturn]] static void report(const char *diameter, const char *density);
static const char *write_error(int error);

/* errno of the first write to standard output that failed; 0 while none has. */
static int write_failure;

/*
 * The cause of a failed write, in German like the rest of the program
 * (strerror would answer in English) and in ASCII like the report.
 */
static const char *write_error(int error)
{
	switch (error) {
	case ENOSPC:
		return "kein Speicherplatz mehr frei";
	case EPIPE:
		return "niemand liest die Pipe";
	case EBADF:
		return "Standardausgabe ist geschlossen";
	case EIO:
		return "Ein-/Ausgabefehler";
#ifdef EDQUOT
	case EDQUOT:
		return "Speicherkontingent erreicht";
#endif
	default:
		return "Schreibfehler";
	}
}

/*
 * One formatted print to standard output.  On a terminal stdout is
 * line-buffered and each line is written at once, so a failure shows here
 * and the final flush has nothing left to write: its cause must be kept now.
 * C variadic, unlike a parameter pack, so that the compiler checks formats.
 */
static void print(const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	va_list ap;
	va_start(ap, format);
	if (std::vprintf(format, ap) < 0 && write_failure == 0)
		write_failure = errno;
	va_end(ap);
}

/*
 * Ends every run.  A script's stdout is no terminal, so the report is
 * buffered and a write error shows only now: flush, and only if everything
 * arrived exit 0.
 */
static void finish()
{
	if (std::fflush(stdout) != 0 && write_failure == 0)
		write_failure = errno;
	if (std::ferror(stdout) != 0) {
		std::fprintf(
			stderr, "absink: Standardausgabe nicht schreibbar: %s\n", write_error(write_failure));
		std::exit(1);
	}
	std::exit(0);
}

static void print_usage()
{
	print_usage_screen(print);
	finish();
}

/* Reads, checks, computes and reports one particle (app/report.cpp). */
static void report(const char *diameter, const char *density)
{
	if (!print_report(print, diameter, density).reported)
		print_usage();
	finish();
}

#ifdef _WIN32
/*
 * Windows hands main() its arguments in the ANSI code page, converted with
 * "best-fit" mapping: fullwidth digits, signs and points and the
 * non-breaking space arrive as their ASCII look-alikes, and "\uFF11\uFF10"
 * would read as 10.  wmain() gets the command line as it was typed, in
 * UTF-16.  Only ASCII can be part of a number, so every other code unit
 * becomes the byte 0x80, which no number contains: reading stops there,
 * just as it stops at the first byte of a UTF-8 sequence on other systems.
 * No argument is longer than the command line, 32767 characters.
 */
static char *narrow(const wchar_t *wide, char (&buffer)[32768])
{
	std::size_t i = 0;
	for (; wide[i] != L'\0' && i + 1 < sizeof buffer; i++)
		buffer[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '\x80';
	buffer[i] = '\0';
	return buffer;
}

int wmain(int argc, wchar_t *argv[])
{
	static char diameter[32768];
	static char density[32768];
	if (argc < 3)
		print_usage();
	/* Arguments past the second are ignored. */
	report(narrow(argv[1], diameter), narrow(argv[2], density));
}
#else
int main(int argc, char *argv[])
{
	if (argc < 3)
		print_usage();
	/* Arguments past the second are ignored. */
	report(argv[1], argv[2]);
}
#endif
