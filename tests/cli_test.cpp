/* End to end: run the built program, compare its whole output. */
#include <ostream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "printable.hpp"

namespace {

struct Outcome {
	std::string out, err;
	int status = -1;
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

/* Runs absink with args; stdout and stderr through pipes.  The outputs
 * are far below a pipe's capacity, so reading one after the other after the
 * child has ended cannot block. */
Outcome run(const std::vector<std::string> &args)
{
	int out[2], err[2];
	if (pipe(out) != 0 || pipe(err) != 0)
		return {};
	const pid_t pid = fork();
	if (pid == 0) {
		dup2(out[1], 1);
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
	waitpid(pid, &ws, 0);
	r.out = drain(out[0]);
	r.err = drain(err[0]);
	r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
	return r;
}

const std::string usage =
    "Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu)\n"
    "Aufruf: absink <Durchmesser (in mu)> <Dichte (in g/cm3)>\n";

const std::string warning = "Achtung: Reynolds-Zahl > 300\n";

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

const std::string report_10_1 =
    "\n"
    "Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n"
    "Durchmesser (in mu):   10.0000\n"
    "Dichte (in g/cm3)  :    1.0000\n"
    "Bestzahl w         :    0.0499\n"
    "Reynoldszahl Nre   :    0.0021\n"
    "vs (in cm/s)       :    0.3040\n";

INSTANTIATE_TEST_SUITE_P(Reports, Cli,
    testing::Values(
        Case{{"10", "1"}, report_10_1},
        /* a third argument and any further are ignored */
        Case{{"10", "1", "7", "x"}, report_10_1},
        Case{{"100", "1"}, head(" 100.0000", "   1.0000", "  49.9100", "   1.7225") + velocity("  25.1831")},
        /* a wide value widens its field */
        Case{{"1e3", "1"}, head("1000.0000", "   1.0000", "49910.0000", " 273.5348") + velocity(" 399.9079")},
        Case{{"12abc", "1,5"}, head("  12.0000", "   1.0000", "   0.0862", "   0.0036") + velocity("   0.4378")},
        Case{{".5", "+5"}, head("   0.5000", "   5.0000", "   0.0000", "   0.0000") + velocity("   0.0000")},
        /* w below 0.003: the velocity shows as zero, though it is not */
        Case{{"3", "1"}, head("   3.0000", "   1.0000", "   0.0013", "   0.0001") + velocity("   0.0000")},
        Case{{"4", "1"}, head("   4.0000", "   1.0000", "   0.0032", "   0.0001") + velocity("   0.0486")}));

INSTANTIATE_TEST_SUITE_P(Warnings, Cli,
    testing::Values(
        Case{{"1000", "2"}, head("1000.0000", "   2.0000", "99820.0000", " 413.8116") + warning},
        /* past the polynomial's maximum Nre is below 300 but meaningless:
         * a 5 mm water drop, a 3 mm steel ball, a 6 cm water drop */
        Case{{"5000", "1"}, head("5000.0000", "   1.0000", "6238750.0000", " 268.0787") + warning},
        Case{{"3000", "7.87"}, head("3000.0000", "   7.8700", "10605376.0000", " 103.5730") + warning},
        Case{{"60000", "1"}, head("60000.0000", "   1.0000", "10780560384.0000", "   0.0000") + warning},
        /* w beyond float's range prints as printf prints infinity */
        Case{{"1e30", "1"}, head("1000000015047466219876688855040.0000", "   1.0000", "      inf", "   0.0000") + warning}));

INSTANTIATE_TEST_SUITE_P(Usage, Cli,
    testing::Values(
        Case{{}, usage}, Case{{"10"}, usage}, Case{{"0", "1"}, usage},
        Case{{"-5", "1"}, usage}, Case{{"10", "0"}, usage}, Case{{"10", "-0"}, usage},
        Case{{"abc", "1"}, usage}, Case{{"inf", "1"}, usage},
        Case{{"10", "nan"}, usage}, Case{{"1ex", "1"}, usage},
        Case{{"0x10", "1"}, usage}, Case{{"1e-50", "1"}, usage},
        /* overflow of single precision is no infinite particle */
        Case{{"1e39", "1"}, usage}, Case{{"10", "1e39"}, usage},
        Case{{"1234567890123456789012345678901234567890", "1"}, usage}));

} // namespace
