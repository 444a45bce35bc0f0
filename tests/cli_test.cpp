/* End to end: run the built program, compare its whole output. */
#include <ostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "printable.hpp"

namespace {

struct Outcome {
	std::string out, err;
	int status = -1;
	rusage usage{};
};

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

/* Runs absink with args; stdout and stderr through pipes, or stdout to
 * the file named by to.  The outputs are far below a pipe's capacity, so
 * reading one after the other after the child has ended cannot block. */
Outcome run(const std::vector<std::string> &args, const char *to = nullptr)
{
	int out[2];
	int err[2];
	if (pipe(out) != 0 || pipe(err) != 0)
		return {};
	const pid_t pid = fork();
	if (pid == 0) {
		dup2(to != nullptr ? open(to, O_WRONLY) : out[1], 1);
		dup2(err[1], 2);
		close(out[0]);
		close(out[1]);
		close(err[0]);
		close(err[1]);
		std::vector<char *> argv{const_cast<char *>("absink")};
		for (const auto &a : args)
			argv.push_back(const_cast<char *>(a.c_str()));
		argv.push_back(nullptr);
		execv(ABSINK_PATH, argv.data());
		_exit(127);
	}
	close(out[1]);
	close(err[1]);
	Outcome r;
	int ws = 0;
	wait4(pid, &ws, 0, &r.usage);
	r.out = drain(out[0]);
	r.err = drain(err[0]);
	r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
	return r;
}

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
	EXPECT_EQ(r.out, c.out);
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

INSTANTIATE_TEST_SUITE_P(
	Reports, Cli,
	testing::Values(
		Case{{"10", "1"}, report_10_1},
		/* a third argument and any further are ignored */
		Case{{"10", "1", "7", "x"}, report_10_1},
		Case{{"100", "1"},
		     head(" 100.0000", "   1.0000", "  49.9100", "   1.7225") + velocity("  25.1831")},
		/* a wide value widens its field */
		Case{{"1e3", "1"},
		     head("1000.0000", "   1.0000", "49910.0000", " 273.5348") + velocity(" 399.9079")},
		Case{{"12abc", "1,5"},
		     head("  12.0000", "   1.0000", "   0.0862", "   0.0036") + velocity("   0.4378")},
		Case{{".5", "+5"},
		     head("   0.5000", "   5.0000", "   0.0000", "   0.0000") + velocity("   0.0000")},
		/* w below 0.003: the velocity shows as zero, though it is not */
		Case{{"3", "1"},
		     head("   3.0000", "   1.0000", "   0.0013", "   0.0001") + velocity("   0.0000")},
		Case{{"4", "1"},
		     head("   4.0000", "   1.0000", "   0.0032", "   0.0001") + velocity("   0.0486")},
		/* w at the float nearest 0.003, which is above 0.003: a velocity;
		 * the float below it: zero */
		Case{{"3.9172194", "1"},
		     head("   3.9172", "   1.0000", "   0.0030", "   0.0001") + velocity("   0.0467")},
		Case{{"3.93", "0.9902754"},
		     head("   3.9300", "   0.9903", "   0.0030", "   0.0001") + velocity("   0.0000")},
		/* the largest Nre below 300 that the polynomial reaches (its
		 * neighbour above is in Warnings) */
		Case{{"1000", "1.160984"},
		     head("1000.0000", "   1.1610", "57944.7148", " 299.9999") + velocity(" 438.5999")},
		/* vs is printed as the float it is stored in, not the double */
		Case{{"86", "309"},
		     head("  86.0000", " 309.0000", "9809.3770", "  94.0162") + velocity("1598.2749")}));

INSTANTIATE_TEST_SUITE_P(
	Warnings, Cli,
	testing::Values(
		Case{{"1000", "2"}, head("1000.0000", "   2.0000", "99820.0000", " 413.8116") + warning},
		/* the smallest Nre above 300 that the polynomial reaches */
		Case{{"1000", "1.1609841"},
		     head("1000.0000", "   1.1610", "57944.7188", " 300.0001") + warning},
		/* past the polynomial's maximum Nre is below 300 but meaningless:
		 * a 5 mm water drop, a 3 mm steel ball, a 6 cm water drop */
		Case{{"5000", "1"}, head("5000.0000", "   1.0000", "6238750.0000", " 268.0787") + warning},
		Case{{"3000", "7.87"},
		     head("3000.0000", "   7.8700", "10605376.0000", " 103.5730") + warning},
		Case{{"60000", "1"},
		     head("60000.0000", "   1.0000", "10780560384.0000", "   0.0000") + warning},
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

/* Linux passes at most 128 KiB, NUL included, as one argument. */
const std::size_t longest = 128 * 1024 - 1;

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
		Case{{"\xff\xfe\x80", "1"}, usage}, Case{{"\xc0", "\xed\xa0\x80"}, usage},
		Case{{"\x1b[31m10", "1"}, usage}, Case{{"\x7f", "1"}, usage},
		Case{{"10\x1b[0m", "1\r\x08\x08"}, report_10_1},
		Case{{"10\xc2\xb5m", "1\xe2\x80\xaf"}, report_10_1}));

/* A report that cannot be written is no success: status 1 and a line on
 * standard error, whichever text was lost. */
TEST(Cli, WriteFailureExitsOne)
{
	for (const auto &args : {std::vector<std::string>{"100", "1"}, {}, {"1000", "2"}}) {
		const Outcome r = run(args, "/dev/full");
		EXPECT_EQ(r.err, "absink: Standardausgabe nicht schreibbar: kein Speicherplatz mehr frei\n");
		EXPECT_EQ(r.status, 1);
	}
}

TEST(Cli, LongestArgumentTakesLittleTimeAndMemory)
{
	const Outcome r = run({longest_argument("0.", '7', ""), "1"});
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(r.err, "");
	EXPECT_NE(r.out.find("Durchmesser (in mu):    0.7778\n"), std::string::npos) << r.out;
	const auto cpu_ms = (r.usage.ru_utime.tv_sec + r.usage.ru_stime.tv_sec) * 1000 +
			    (r.usage.ru_utime.tv_usec + r.usage.ru_stime.tv_usec) / 1000;
	EXPECT_LT(cpu_ms, 1000);
	EXPECT_LT(r.usage.ru_maxrss, 256 * 1024) << "KiB";
}

} // namespace
