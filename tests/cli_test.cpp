/* End to end: run the built program, compare its whole output. */
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#elif defined(__EMSCRIPTEN__)
#include <cstdint>
#include <cstdlib>

#include <emscripten.h>
#else
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "app/argument.hpp"
#include "particles.hpp"
#include "printable.hpp"

namespace {

struct Outcome {
	std::string out, err;
	int status = -1;
	bool carried = true; /* false: no command line of this system carries the arguments */
	long cpu_ms = -1;    /* CPU time and peak memory, where the system tells */
	long peak_kib = -1;
};

#ifdef _WIN32
/* Text mode writes every line end as CR LF. */
std::string native(const std::string &text)
{
	std::string s;
	for (const char c : text)
		s += c == '\n' ? std::string("\r\n") : std::string(1, c);
	return s;
}

/* The test's UTF-8 text as the UTF-16 of a command line; false for bytes
 * that are no UTF-8, which Windows cannot pass. */
bool widen(const std::string &s, std::wstring &w)
{
	w.clear();
	if (s.empty())
		return true;
	const int size = static_cast<int>(s.size());
	const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), size, nullptr, 0);
	if (n <= 0)
		return false;
	w.resize(static_cast<std::size_t>(n));
	MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), size, w.data(), n);
	return true;
}

/* Quotes one argument so that the C runtime's parser gives it back as it
 * is: backslashes double only before a quote. */
void append_quoted(std::wstring &line, const std::wstring &arg)
{
	line += L" \"";
	std::size_t backslashes = 0;
	for (const wchar_t c : arg) {
		if (c == L'\\') {
			backslashes++;
			continue;
		}
		line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
		backslashes = 0;
		line += c;
	}
	line.append(2 * backslashes, L'\\');
	line += L'"';
}

std::string drain(HANDLE h)
{
	std::string s;
	char buf[4096];
	DWORD n = 0;
	while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
		s.append(buf, n);
	CloseHandle(h);
	return s;
}

/* Runs absink with args; stdout and stderr through pipes.  The outputs
 * are far below a pipe's capacity, so reading after the child has ended
 * cannot block. */
Outcome run(const std::vector<std::string> &args)
{
	Outcome r;
	std::wstring line = L"absink";
	std::wstring wide;
	for (const auto &a : args) {
		if (!widen(a, wide)) {
			r.carried = false;
			return r;
		}
		append_quoted(line, wide);
	}
	std::wstring path;
	widen(ABSINK_PATH, path);

	SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
	HANDLE out[2];
	HANDLE err[2];
	if (!CreatePipe(&out[0], &out[1], &inherit, 0) || !CreatePipe(&err[0], &err[1], &inherit, 0))
		return r;
	SetHandleInformation(out[0], HANDLE_FLAG_INHERIT, 0);
	SetHandleInformation(err[0], HANDLE_FLAG_INHERIT, 0);
	STARTUPINFOW si{};
	si.cb = sizeof si;
	si.dwFlags = STARTF_USESTDHANDLES;
	si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
	si.hStdOutput = out[1];
	si.hStdError = err[1];
	PROCESS_INFORMATION pi{};
	const bool started = CreateProcessW(
		path.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
	CloseHandle(out[1]);
	CloseHandle(err[1]);
	if (started) {
		WaitForSingleObject(pi.hProcess, INFINITE);
		DWORD code = 0;
		GetExitCodeProcess(pi.hProcess, &code);
		r.status = static_cast<int>(code);
		CloseHandle(pi.hProcess);
		CloseHandle(pi.hThread);
	}
	r.out = drain(out[0]);
	r.err = drain(err[0]);
	return r;
}
#elif defined(__EMSCRIPTEN__)
std::string native(const std::string &text)
{
	return text;
}

/*
 * Under node this test is WebAssembly too, and starts "node absink.js"
 * through node's child_process, as a native test forks and execs absink.
 * Arguments travel as JavaScript strings: bytes that are no UTF-8 cannot.
 * Nor can a closed standard output (node opens /dev/null in its place
 * before the program starts) or a terminal (node makes none).  Returns a
 * malloc'd block: status, the lengths of stdout and stderr, then their
 * bytes; or 0 when node cannot carry the case.
 */
// clang-format off
EM_JS(std::int32_t *, spawn_absink, (const char *path, const char *args, int size, const char *to), {
	const fs = require('fs');
	const decoder = new TextDecoder('utf-8', {fatal: true});
	const argv = [UTF8ToString(path)];
	try {
		for (let at = args, end = args + size; at < end;) {
			const nul = HEAPU8.indexOf(0, at);
			argv.push(decoder.decode(HEAPU8.subarray(at, nul)));
			at = nul + 1;
		}
	} catch (e) {
		return 0;
	}
	let out = 'pipe';
	if (to) {
		if (UTF8ToString(to) !== '/dev/full')
			return 0;
		out = fs.openSync('/dev/full', 'w');
	}
	const r = require('child_process').spawnSync(process.execPath, argv,
		{stdio: ['ignore', out, 'pipe'], maxBuffer: 1 << 24});
	if (to)
		fs.closeSync(out);
	const stdout = r.stdout || new Uint8Array(0);
	const block = _malloc(12 + stdout.length + r.stderr.length);
	HEAP32.set([r.status === null ? 128 : r.status, stdout.length, r.stderr.length], block >> 2);
	HEAPU8.set(stdout, block + 12);
	HEAPU8.set(r.stderr, block + 12 + stdout.length);
	return block;
});
// clang-format on

/* Runs absink with args under node, as run() below does natively; of its
 * stdout targets, node carries only a file: /dev/full. */
Outcome run(const std::vector<std::string> &args, const char *to = nullptr)
{
	std::string packed;
	for (const auto &a : args)
		packed.append(a.c_str(), a.size() + 1);
	Outcome r;
	std::int32_t *block = spawn_absink(ABSINK_PATH, packed.data(), static_cast<int>(packed.size()), to);
	if (block == nullptr) {
		r.carried = false;
		return r;
	}
	const char *bytes = reinterpret_cast<const char *>(block + 3);
	r.status = block[0];
	r.out.assign(bytes, static_cast<std::size_t>(block[1]));
	r.err.assign(bytes + block[1], static_cast<std::size_t>(block[2]));
	std::free(block);
	return r;
}
#else
std::string native(const std::string &text)
{
	return text;
}

std::string drain(int fd)
{
	std::string s;
	char buf[4096];
	ssize_t n;
	while ((n = read(fd, buf, sizeof buf)) > 0)
		s.append(buf, static_cast<size_t>(n));
	close(fd);
	return s;
}

/* A terminal that went away: the far side of a pseudo-terminal, whose
 * near side is closed. */
int orphaned_terminal()
{
	const int master = posix_openpt(O_RDWR | O_NOCTTY);
	if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
		return -1;
	const int slave = open(ptsname(master), O_WRONLY | O_NOCTTY);
	close(master);
	return slave;
}

/* Runs absink with args (through the emulator of a cross build); stdout
 * and stderr through pipes, or stdout to the file named by to, closed
 * when to is "", or an orphaned terminal when to is "/dev/ptmx".  The
 * outputs are far below a pipe's capacity, so reading one after the other
 * after the child has ended cannot block. */
Outcome run(const std::vector<std::string> &args, const char *to = nullptr)
{
	int out[2];
	int err[2];
	if (pipe(out) != 0 || pipe(err) != 0)
		return {};
	const pid_t pid = fork();
	if (pid == 0) {
		if (to == nullptr)
			dup2(out[1], 1);
		else if (std::string(to) == "/dev/ptmx")
			dup2(orphaned_terminal(), 1);
		else if (*to != '\0')
			dup2(open(to, O_WRONLY), 1);
		else
			close(1);
		dup2(err[1], 2);
		close(out[0]);
		close(out[1]);
		close(err[0]);
		close(err[1]);
#ifdef ABSINK_EMULATOR
		const char *program = ABSINK_EMULATOR;
		std::vector<char *> argv{const_cast<char *>(program), const_cast<char *>(ABSINK_PATH)};
#else
		const char *program = ABSINK_PATH;
		std::vector<char *> argv{const_cast<char *>("absink")};
#endif
		for (const auto &a : args)
			argv.push_back(const_cast<char *>(a.c_str()));
		argv.push_back(nullptr);
		execv(program, argv.data());
		_exit(127);
	}
	close(out[1]);
	close(err[1]);
	Outcome r;
	int ws = 0;
	rusage usage{};
	wait4(pid, &ws, 0, &usage);
	r.out = drain(out[0]);
	r.err = drain(err[0]);
	r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
	r.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
		   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
	r.peak_kib = usage.ru_maxrss;
	return r;
}
#endif

constexpr const char *usage = "Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu)\n"
			      "Aufruf: absink <Durchmesser (in mu)> <Dichte (in g/cm3)>\n";

constexpr const char *warning = "Achtung: Reynolds-Zahl > 300\n";

constexpr const char *flt_max = "340282346638528859811704183484516925440.0000";

/* Report lines 1 to 5, values as the nine-wide fields print them. */
std::string head(const char *d, const char *rho, const char *w, const char *nre)
{
	return std::string("\nBerechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n") +
	       "Durchmesser (in mu): " + d + "\n" + "Dichte (in g/cm3)  : " + rho + "\n" +
	       "Bestzahl w         : " + w + "\n" + "Reynoldszahl Nre   : " + nre + "\n";
}

std::string velocity(const char *vs)
{
	return std::string("vs (in cm/s)       : ") + vs + "\n";
}

struct Case {
	std::vector<std::string> args;
	std::string out;
};

/* Names the case by its arguments in test listings. */
void PrintTo(const Case &c, std::ostream *os)
{
	for (const auto &a : c.args)
		*os << '[' << printable(a) << ']';
}

class Cli : public testing::TestWithParam<Case> {};

TEST_P(Cli, PrintsWholeOutputAndExitsZero)
{
	const Case &c = GetParam();
	const Outcome r = run(c.args);
	if (!r.carried)
		GTEST_SKIP() << "no command line of this system carries these bytes";
	EXPECT_EQ(r.out, native(c.out));
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
}

constexpr const char *report_10_1 =
	"\n"
	"Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n"
	"Durchmesser (in mu):   10.0000\n"
	"Dichte (in g/cm3)  :    1.0000\n"
	"Bestzahl w         :    0.0499\n"
	"Reynoldszahl Nre   :    0.0021\n"
	"vs (in cm/s)       :    0.3040\n";

/* "%9.4f" of a value that the table gives as "%.4f". */
std::string field(const std::string &digits)
{
	return std::string(digits.size() < 9 ? 9 - digits.size() : 0, ' ') + digits;
}

/* Each test particle's whole report: the table's values in their fields,
 * and the velocity it shows or the warning. */
Case particle_case(const Particle &p)
{
	char d[64];
	char rho[64];
	std::snprintf(d, sizeof d, "%.4f", static_cast<double>(convert_argument(p.d.c_str())));
	std::snprintf(rho, sizeof rho, "%.4f", static_cast<double>(convert_argument(p.rho.c_str())));
	const std::string last = p.shown == "warning" ? warning : velocity(field(p.shown).c_str());
	return {{p.d, p.rho},
		head(field(d).c_str(), field(rho).c_str(), field(p.w).c_str(), field(p.nre).c_str()) + last};
}

std::vector<Case> particle_cases()
{
	std::vector<Case> cases;
	for (const Particle &p : particles())
		cases.push_back(particle_case(p));
	return cases;
}

INSTANTIATE_TEST_SUITE_P(Particles, Cli, testing::ValuesIn(particle_cases()));

INSTANTIATE_TEST_SUITE_P(
	Reports, Cli,
	testing::Values(
		Case{{"10", "1"}, report_10_1},
		/* a third argument and any further are ignored */
		Case{{"10", "1", "7", "x"}, report_10_1},
		/* a wide value widens its field */
		Case{{"1e3", "1"},
		     head("1000.0000", "   1.0000", "49910.0000", " 273.5348") + velocity(" 399.9079")},
		Case{{"12abc", "1,5"},
		     head("  12.0000", "   1.0000", "   0.0862", "   0.0036") + velocity("   0.4378")},
		Case{{".5", "+5"},
		     head("   0.5000", "   5.0000", "   0.0000", "   0.0000") + velocity("   0.0000")}));

INSTANTIATE_TEST_SUITE_P(
	Warnings, Cli,
	testing::Values(
		/* w beyond float's range prints as printf prints infinity */
		Case{{"1e30", "1"},
		     head("1000000015047466219876688855040.0000", "   1.0000", "      inf", "   0.0000") +
			     warning},
		/* the double just below the midpoint of FLT_MAX and 2^128 reads
		 * as FLT_MAX, in either argument */
		Case{{"340282356779733623858607532500980858880", "1"},
		     head(flt_max, "   1.0000", "      inf", "   0.0000") + warning},
		Case{{"10", "340282356779733623858607532500980858880"},
		     head("  10.0000", flt_max, "16983492161075529196474450321487167488.0000", "   0.0000") +
			     warning}));

INSTANTIATE_TEST_SUITE_P(
	Usage, Cli,
	testing::Values(
		Case{{}, usage}, Case{{"10"}, usage}, Case{{"0", "1"}, usage}, Case{{"-5", "1"}, usage},
		Case{{"10", "0"}, usage}, Case{{"10", "-0"}, usage}, Case{{"abc", "1"}, usage},
		Case{{"inf", "1"}, usage}, Case{{"10", "nan"}, usage}, Case{{"1ex", "1"}, usage},
		Case{{"0x10", "1"}, usage}, Case{{"1e-50", "1"}, usage},
		/* overflow of single precision is no infinite particle */
		Case{{"1e39", "1"}, usage}, Case{{"10", "1e39"}, usage},
		Case{{"1234567890123456789012345678901234567890", "1"}, usage},
		/* the midpoint of FLT_MAX and 2^128 ties to the even 2^128, in
		 * either argument; one below it in decimal is still that double */
		Case{{"340282356779733661637539395458142568448", "1"}, usage},
		Case{{"10", "340282356779733661637539395458142568448"}, usage},
		Case{{"340282356779733661637539395458142568447", "1"}, usage}));

/* Linux passes at most 128 KiB, NUL included, as one argument; Windows
 * 32767 characters for the whole command line. */
#ifdef _WIN32
const std::size_t longest = 32000;
#else
const std::size_t longest = 128 * 1024 - 1;
#endif

/* before, then fill up to the longest argument, then after. */
std::string longest_argument(const std::string &before, char fill, const std::string &after)
{
	std::string s = before;
	s.append(longest - before.size() - after.size(), fill);
	return s.append(after);
}

INSTANTIATE_TEST_SUITE_P(
	Hostile, Cli,
	testing::Values(
		Case{{longest_argument("", '0', "12.5"), "1"},
		     head("  12.5000", "   1.0000", "   0.0975", "   0.0041") + velocity("   0.4751")},
		Case{{longest_argument("12.5", '0', ""), "1"},
		     head("  12.5000", "   1.0000", "   0.0975", "   0.0041") + velocity("   0.4751")},
		Case{{longest_argument("1", '0', ""), "1"}, usage},
		Case{{longest_argument("0.", '0', "1"), "1"}, usage}, Case{{" ", "1"}, usage},
		Case{{"10", " \t\n\v\f\r"}, usage},
		/* fullwidth and Arabic-Indic digits are no digits */
		Case{{"\xef\xbc\x91\xef\xbc\x90", "1"}, usage}, Case{{"\xd9\xa1\xd9\xa0", "1"}, usage},
		/* nor are the look-alikes that Windows' best-fit mapping would
		 * turn into ASCII (in UTF-8, octal where a digit follows): a
		 * fullwidth plus, full stop and minus, a non-breaking space, and a
		 * fullwidth digit one as the density */
		Case{{"\357\274\2135", "1"}, usage}, Case{{"\357\274\2165", "1"}, usage},
		Case{{"1e\357\274\2151", "1"}, usage}, Case{{"\302\24010", "1"}, usage},
		Case{{"10", "\xef\xbc\x91"}, usage}, Case{{"\xff\xfe\x80", "1"}, usage},
		Case{{"\xc0", "\xed\xa0\x80"}, usage}, Case{{"\x1b[31m10", "1"}, usage},
		Case{{"\x7f", "1"}, usage}, Case{{"10\x1b[0m", "1\r\x08\x08"}, report_10_1},
		Case{{"10\xc2\xb5m", "1\xe2\x80\xaf"}, report_10_1}));

#ifndef _WIN32
/* A report that cannot be written is no success: status 1 and a line on
 * standard error that names the cause, whichever text was lost.  "" stands
 * for a closed standard output.  On a terminal every line is written, and
 * fails, as it is printed, and the final flush has nothing left to write. */
TEST(Cli, WriteFailureExitsOne)
{
	const std::string cause = "absink: Standardausgabe nicht schreibbar: ";
	const std::pair<const char *, const char *> failures[] = {
		{"/dev/full", "kein Speicherplatz mehr frei\n"},
		{"", "Standardausgabe ist geschlossen\n"},
		{"/dev/ptmx", "Ein-/Ausgabefehler\n"},
	};
	for (const auto &args : {std::vector<std::string>{"100", "1"}, {}, {"1000", "2"}}) {
		for (const auto &[to, why] : failures) {
			const Outcome r = run(args, to);
			if (!r.carried)
				continue; /* node sets up only some of these */
			EXPECT_EQ(r.err, cause + why) << "stdout: " << to;
			EXPECT_EQ(r.status, 1) << "stdout: " << to;
		}
	}
}
#endif

TEST(Cli, LongestArgumentTakesLittleTimeAndMemory)
{
	const Outcome r = run({longest_argument("0.", '7', ""), "1"});
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(r.err, "");
	EXPECT_NE(r.out.find(native("Durchmesser (in mu):    0.7778\n")), std::string::npos) << r.out;
	EXPECT_LT(r.cpu_ms, 1000);
	EXPECT_LT(r.peak_kib, 256 * 1024);
}

} // namespace
