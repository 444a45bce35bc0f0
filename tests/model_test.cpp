#include <cfloat>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "sedimentation/sedimentation.hpp"

namespace {

/* Values as the report prints them: one float, widened, to four places. */
std::string printed(double v)
{
	char buf[64];
	std::snprintf(buf, sizeof buf, "%.4f", v);
	return buf;
}

constexpr auto settles = SEDIMENTATION_SETTLES;
constexpr auto not_settling = SEDIMENTATION_NOT_SETTLING;
constexpr auto above_limit = SEDIMENTATION_ABOVE_REYNOLDS_LIMIT;
constexpr auto beyond_peak = SEDIMENTATION_BEYOND_PEAK;

struct Case {
	float d, rho;
	const char *w, *nre, *vs;
	sedimentation_verdict verdict; /* the report's */
};

void PrintTo(const Case &c, std::ostream *os)
{
	*os << c.d << ' ' << c.rho;
}

class Model : public testing::TestWithParam<Case> {};

/*
 * Both entry points give the published values.  sedimentation_velocity
 * returns vs unrounded: exactly (Nre 1462) / d in double.
 * sedimentation_compute rounds vs, applies no rule of the report (its vs
 * of 3 um is not zero) and touches no shared state: called for another
 * particle, it leaves the results of sedimentation_velocity as they were.
 * The report's verdict on each: which rule, if any, its result meets.
 */
TEST_P(Model, PrintsAsPublished)
{
	const Case &c = GetParam();
	const double vs = sedimentation_velocity(c.d, c.rho);
	const sedimentation_result r = sedimentation_compute(c.d, c.rho);
	sedimentation_compute(100.0F, 1.0F);
	EXPECT_EQ(printed(static_cast<double>(best_number)), c.w);
	EXPECT_EQ(printed(static_cast<double>(reynolds_number)), c.nre);
	EXPECT_EQ(printed(static_cast<double>(static_cast<float>(vs))), c.vs);
	EXPECT_EQ(vs, static_cast<double>(reynolds_number) * 1462.0 / static_cast<double>(c.d));

	EXPECT_EQ(printed(static_cast<double>(r.best_number)), c.w);
	EXPECT_EQ(printed(static_cast<double>(r.reynolds_number)), c.nre);
	EXPECT_EQ(printed(static_cast<double>(r.velocity)), c.vs);
	EXPECT_EQ(sedimentation_report_verdict(r), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(
	Cases, Model,
	testing::Values(
		/* Stokes' law */
		Case{10.0F, 1.0F, "0.0499", "0.0021", "0.3040", settles},
		Case{16.8F, 1.0F, "0.2367", "0.0099", "0.8581", settles},
		/* w below 0.003: the routine returns a velocity; only the report
		 * zeroes it */
		Case{3.0F, 1.0F, "0.0013", "0.0001", "0.0274", not_settling},
		Case{4.0F, 1.0F, "0.0032", "0.0001", "0.0486", settles},

		/* At the switch the regime follows the unrounded product.  Both
		 * of these round w to the float below 0.24 (0.23999999...), yet
		 * the second product is 0.2400000006 and takes the polynomial,
		 * whose Nre there is 0.1 % lower. */
		Case{16.8787861F, 1.0F, "0.2400", "0.0100", "0.8662", settles},
		Case{16.8787632F, 1.00000417F, "0.2400", "0.0100", "0.8651", settles},
		Case{17.0F, 1.0F, "0.2452", "0.0102", "0.8775", settles},

		/* Beard's polynomial */
		Case{20.0F, 2.65F, "1.0581", "0.0437", "3.1941", settles},
		Case{100.0F, 1.0F, "49.9100", "1.7225", "25.1831", settles},
		Case{500.0F, 1.0F, "6238.7500", "69.0546", "201.9156", settles},
		Case{1000.0F, 1.0F, "49910.0000", "273.5348", "399.9079", settles},
		/* w is held in single precision: not 51107.8400 */
		Case{800.0F, 2.0F, "51107.8398", "277.6049", "507.3229", settles},
		/* Nre above 300: the routine still returns a velocity */
		Case{1000.0F, 2.0F, "99820.0000", "413.8116", "604.9925", above_limit},
		/* past the polynomial's maximum Nre falls again */
		Case{5000.0F, 1.0F, "6238750.0000", "268.0787", "78.3862", beyond_peak},

		/* Each rounding point and each order of operations shows in the
		 * last printed digit of one of these (found by search, one fault
		 * planted at a time): */
		/* Stokes' Nre from the rounded w, times the float nearest 1/24 */
		Case{3.4F, 93.2F, "0.1828", "0.0076", "3.2756", settles},
		Case{0.705F, 867.0F, "0.0152", "0.0006", "1.3102", settles},
		/* ... and vs from that rounded Nre: every digit of this vs shows */
		Case{0.001F, 3.7e11F, "0.0185", "0.0008", "1124.9301", settles},
		/* the float 0.24 (0.2399999946) is no limit: this product lies
		 * between it and 0.24 and takes Stokes' law */
		Case{46.7708511F, 0.047F, "0.2400", "0.0100", "0.3126", settles},
		/* X = ln of the double w, rounded to float; Horner and exp in
		 * double; each coefficient to its last digit */
		Case{966.0F, 0.736F, "33112.8672", "210.8153", "319.0601", settles},
		Case{5500.0F, 0.25F, "2075944.0000", "744.7398", "197.9654", beyond_peak},
		/* w as ((d c) d) d rho: d d d c rho and rho-first orders differ */
		Case{250.0F, 811.0F, "632453.3125", "866.0777", "5064.8223", above_limit},
		/* vs as (Nre 1462) / d in double: not Nre / d 1462, not
		 * Nre (1462 / d), not in float */
		Case{2640.0F, 0.0315F, "28927.4336", "193.1529", "106.9657", settles},
		Case{86.0F, 309.0F, "9809.3770", "94.0162", "1598.2749", settles},

		/* absurd inputs: w leaves float's range, Nre underflows to 0 */
		Case{1e30F, 1.0F, "inf", "0.0000", "0.0000", beyond_peak},
		Case{FLT_MAX, FLT_MAX, "inf", "0.0000", "0.0000", beyond_peak},
		Case{FLT_MIN, FLT_MIN, "0.0000", "0.0000", "0.0000", not_settling}));

TEST(Model, PolynomialPeaksBelowTheWarningLimit)
{
	/* Beard's polynomial rises to Nre ~ 892 near w ~ 9.1e5 and falls past it. */
	const auto nre_at = [](double w) {
		const float d = static_cast<float>(std::cbrt(w / 4.991e-05));
		sedimentation_velocity(d, 1.0F);
		return reynolds_number;
	};
	EXPECT_NEAR(nre_at(beard_peak_best_number), 891.6, 0.5);
	EXPECT_LT(nre_at(beard_peak_best_number / 2), nre_at(beard_peak_best_number));
	EXPECT_LT(nre_at(beard_peak_best_number * 2), nre_at(beard_peak_best_number));
}

} // namespace
