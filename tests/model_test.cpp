#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "app/argument.hpp"
#include "particles.hpp"
#include "sedimentation/sedimentation.hpp"
#include "sedimentation/single.h"

namespace {

/* Values as the report prints them: one float, widened, to four places. */
std::string printed(double v)
{
	char buf[64];
	std::snprintf(buf, sizeof buf, "%.4f", v);
	return buf;
}

/* The verdicts by the names the particles' table gives them, in the C
 * enum's order. */
const char *const verdict_names[] = {"settles", "not_settling", "above_reynolds_limit", "beyond_peak"};

class Model : public testing::TestWithParam<Particle> {};

/* A particle's diameter and density as absink reads them. */
struct Typed {
	float d, rho;
};

Typed typed(const Particle &p)
{
	return {convert_argument(p.d.c_str()), convert_argument(p.rho.c_str())};
}

/*
 * Both entry points give the published values.  sedimentation_velocity
 * returns vs unrounded: exactly (Nre 1462) / d in double.
 * sedimentation_compute rounds vs, applies no rule of the report (its vs
 * of 3 um is not zero) and touches no shared state: called for another
 * particle, it leaves the results of sedimentation_velocity as they were.
 * The report's verdict on each, and the velocity it shows.
 */
TEST_P(Model, PrintsAsPublished)
{
	const Particle &p = GetParam();
	const auto [d, rho] = typed(p);
	const double vs = sedimentation_velocity(d, rho);
	const sedimentation_result r = sedimentation_compute(d, rho);
	sedimentation_compute(100.0F, 1.0F);
	EXPECT_EQ(printed(static_cast<double>(best_number)), p.w);
	EXPECT_EQ(printed(static_cast<double>(reynolds_number)), p.nre);
	EXPECT_EQ(printed(static_cast<double>(static_cast<float>(vs))), p.vs);
	EXPECT_EQ(vs, static_cast<double>(reynolds_number) * 1462.0 / static_cast<double>(d));

	EXPECT_EQ(printed(static_cast<double>(r.best_number)), p.w);
	EXPECT_EQ(printed(static_cast<double>(r.reynolds_number)), p.nre);
	EXPECT_EQ(printed(static_cast<double>(r.velocity)), p.vs);
	EXPECT_STREQ(verdict_names[sedimentation_report_verdict(r)], p.verdict.c_str());
	const float shown = sedimentation_reported_velocity(r);
	EXPECT_EQ(std::isnan(shown) ? "warning" : printed(static_cast<double>(shown)), p.shown);
}

/*
 * The model backwards.  The aerodynamic diameter as published; its twin
 * settles as fast as the particle, within 1e-6.  The settling diameter of
 * a velocity that the report gives is found; whatever is found is one
 * that the report gives, within 1e-6 of that velocity.
 */
TEST_P(Model, FindsTheDiameterBack)
{
	const Particle &p = GetParam();
	const auto [d, rho] = typed(p);
	const sedimentation_result r = sedimentation_compute(d, rho);
	const float da = sedimentation_aerodynamic_diameter(d, rho);
	/* TA Luft's class: of da as printed, or 4 by the bound. */
	EXPECT_EQ(std::to_string(sedimentation_particle_size_class(d, rho)), p.size_class);
	if (p.da == "nan") {
		EXPECT_TRUE(std::isnan(da)) << da;
	} else {
		EXPECT_EQ(std::to_string(sedimentation_size_class(da)), p.size_class);
		EXPECT_EQ(printed(static_cast<double>(da)), p.da);
		const double twin = static_cast<double>(sedimentation_compute(da, 1.0F).velocity);
		EXPECT_LE(std::fabs(twin / static_cast<double>(r.velocity) - 1.0), 1e-6) << twin;
	}
	const float found = sedimentation_settling_diameter(r.velocity, rho);
	if (p.verdict == "settles") {
		EXPECT_FALSE(std::isnan(found));
	}
	if (!std::isnan(found)) {
		const sedimentation_result back = sedimentation_compute(found, rho);
		EXPECT_EQ(sedimentation_report_verdict(back), SEDIMENTATION_SETTLES) << found;
		EXPECT_LE(std::fabs(static_cast<double>(back.velocity / r.velocity) - 1.0), 1e-6) << found;
	}
}

INSTANTIATE_TEST_SUITE_P(Particles, Model, testing::ValuesIn(particles()));

/*
 * Velocities at the report's limits whose nearest float diameter lies just
 * beyond the limit (w below 0.003, Nre above 300), while its neighbour on
 * this side settles as fast: the settling diameter is that neighbour.
 * The particles themselves lie beyond the limits.
 */
TEST(Model, FindsTheDiameterAtTheReportsLimits)
{
	const struct {
		const char *d, *rho, *found;
	} cases[] = {{"2.8307135", "2.65", "2.83071375"}, {"1051.0153", "1", "1051.01453"}};
	for (const auto &c : cases) {
		const float rho = convert_argument(c.rho);
		const float vs = sedimentation_compute(convert_argument(c.d), rho).velocity;
		char found[32];
		std::snprintf(
			found, sizeof found, "%.9g",
			static_cast<double>(sedimentation_settling_diameter(vs, rho)));
		EXPECT_STREQ(found, c.found) << c.d;
	}
}

/*
 * What no particle can be: a NaN, quiet or signalling, a zero or negative
 * value, an infinity.
 * Each of the library's functions of the model backwards, and the reported
 * velocity of a result that the model cannot give, is NaN for it, its size
 * class 0 (an infinite da lies above every limit), and none raises a
 * floating-point exception that a trap would stop at.
 */
TEST(Model, OutsideTheDomainIsQuietlyNaN)
{
	const float signalling = std::numeric_limits<float>::signaling_NaN();
	const float outside[] = {NAN,      signalling, 0.0F,      -0.0F,   -1.0F,
				 -FLT_MIN, INFINITY,   -INFINITY, -FLT_MAX};
	const sedimentation_result impossible[] = {
		{NAN, 1.0F, 1.0F},   {1.0F, NAN, 1.0F},   {1.0F, 1.0F, NAN},        {signalling, 1.0F, 1.0F},
		{-1.0F, 1.0F, 1.0F}, {1.0F, 1.0F, -0.5F}, {0.1F, 0.004F, INFINITY},
	};
#if defined(FE_INVALID) && defined(FE_DIVBYZERO) && defined(FE_OVERFLOW)
	const int traps = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
#else
	const int traps = 0; /* WebAssembly has no floating-point flags */
#endif
	for (const float x : outside) {
		std::feclearexcept(FE_ALL_EXCEPT);
		EXPECT_TRUE(std::isnan(sedimentation_settling_diameter(x, 1.0F))) << x;
		EXPECT_TRUE(std::isnan(sedimentation_settling_diameter(1.0F, x))) << x;
		EXPECT_TRUE(std::isnan(sedimentation_aerodynamic_diameter(x, 1.0F))) << x;
		EXPECT_TRUE(std::isnan(sedimentation_aerodynamic_diameter(10.0F, x))) << x;
		EXPECT_EQ(sedimentation_particle_size_class(x, 1.0F), 0) << x;
		EXPECT_EQ(sedimentation_size_class(x), float_bits(x) == float_bits(INFINITY) ? 4 : 0) << x;
		EXPECT_EQ(std::fetestexcept(traps), 0) << x;
	}
	for (const sedimentation_result &r : impossible) {
		std::feclearexcept(FE_ALL_EXCEPT);
		EXPECT_TRUE(std::isnan(sedimentation_reported_velocity(r))) << r.velocity;
		EXPECT_EQ(std::fetestexcept(traps), 0) << r.velocity;
	}
}

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
