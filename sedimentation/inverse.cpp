/*
 * The model backwards: the diameter that settles at a given velocity, and
 * the aerodynamic diameter.  Nothing here computes a velocity of its own:
 * every velocity is the model's (settling, model.cpp), so that what the
 * search finds is what the model gives back, to the last bit.
 *
 * Nre depends on w alone, and the model's velocity rises with the
 * diameter (vs ~ d^2 in Stokes' law, more slowly in Beard's regime) up to
 * w ~ 3.6e5, past the end of the report's velocities at Nre 300 (w ~
 * 5.8e4); its one dip, 0.1 % at the switch from Stokes' law to Beard's
 * polynomial, leaves a crossing on either side.  So the model itself is
 * searched, in ln d, by the secant method between two diameters of known
 * w, with a halving of the bracket wherever the secant leaves it, and then
 * over the neighbouring floats, since from one float to the next the
 * roundings of w, X and Nre make the velocity step by up to some 6e-7
 * either way: a sawtooth.
 */
#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"
#include "sedimentation/steps.hpp"

#include <cfloat>
#include <cmath>
#include <initializer_list>

namespace {

/*
 * The lower end of the search, as a Best number: 1e-30, where w, Nre and
 * vs are still normal floats (a diameter of some 3e-9 um at 1 g/cm^3).
 * The upper end is an eighth of the polynomial's peak (1.1e5, where
 * Nre ~ 430 lies beyond every velocity the report gives and the velocity
 * still rises).
 */
constexpr double bottom_best_number = 1e-30;

/* 0 < x <= FLT_MAX, told by the bits alone: positive floats from the
 * smallest subnormal to FLT_MAX are the patterns 1 to 0x7f7fffff.  No
 * comparison of floats, which would raise the invalid-operation flag for a
 * signalling NaN, and stop at a trap. */
bool in_domain(float x)
{
	return float_bits(x) - 1U < 0x7f7fffffU;
}

/* Whether the model's velocity means something for this result: the report
 * gives it, or gives 0 for a particle it counts as not settling, but does
 * not warn (Nre above 300, or beyond the polynomial's peak). */
bool within_model(const sedimentation_result &r)
{
	return !std::isnan(sedimentation_reported_velocity(r));
}

/*
 * How far the velocity of the particle d, rho lies above the target:
 * ln(v / target), and within 1e-4 of 1 the ratio less 1, which agrees with
 * the logarithm there to 1e-4 of itself and costs less.  v is the velocity
 * as sedimentation_compute gives it, rounded to float: the one a caller
 * sees.  s gets the model's steps.
 */
double above(float d, float rho, double target, settling_steps &s)
{
	s = settling(d, rho);
	const double ratio = static_cast<double>(rounded(s).velocity) / target;
	if (ratio == 0.0)
		return -HUGE_VAL; /* Nre underflowed: no log of 0 */
	return std::fabs(ratio - 1.0) < 1e-4 ? ratio - 1.0 : std::log(ratio);
}

/*
 * The float diameter of density rho whose velocity lies nearest the target
 * in cm/s, with its steps in at; 0 where the target lies outside the
 * velocities between the two ends of the search.
 */
float nearest(double target, float rho, settling_steps &at)
{
	/* A start whose w is a normal float: 1 um, or for a density so low
	 * that it is not, 10^12 um.  The ends follow from its unrounded w, as
	 * w ~ d^3. */
	float reference = 1.0F;
	double g0 = above(reference, rho, target, at);
	if (at.best_number < FLT_MIN) {
		reference = 1e12F;
		g0 = above(reference, rho, target, at);
	}
	const double top_best_number = beard_peak_best_number / 8;
	double hi = std::log(reference) + std::log(top_best_number / at.product) / 3;
	double lo = hi - std::log(top_best_number / bottom_best_number) / 3;
	bool lo_tried = false;
	bool hi_tried = false;
	/* The second point as Stokes' law (vs ~ d^2) would have it. */
	double x0 = std::log(reference);
	double x1 = x0 - g0 / 2;
	float d = 0.0F;
	double g1 = 0.0;
	for (int step = 0; step < 80; step++) {
		if (!(x1 > lo && x1 < hi)) {
			/* An end that the secant passes is tried once: if the
			 * target lies beyond it, no diameter has it. */
			if (!lo_tried && x1 <= lo) {
				if (above(to_single(std::exp(lo)), rho, target, at) >= 0.0)
					return 0.0F;
				lo_tried = true;
			} else if (!hi_tried && x1 >= hi) {
				if (above(to_single(std::exp(hi)), rho, target, at) < 0.0)
					return 0.0F;
				hi_tried = true;
			}
			x1 = (lo + hi) / 2;
		}
		d = to_single(std::exp(x1));
		g1 = above(d, rho, target, at);
		if (std::fabs(g1) < 1.5e-7 || hi - lo < 1e-7)
			break;
		if (g1 >= 0.0) {
			hi = x1;
			hi_tried = true;
		} else {
			lo = x1;
			lo_tried = true;
		}
		const double x2 = g1 == g0 ? (lo + hi) / 2 : x1 - g1 * (x1 - x0) / (g1 - g0);
		x0 = x1;
		g0 = g1;
		x1 = x2;
	}
	/* Then over the neighbouring floats, one way and the other, while the
	 * next lies nearer: to a float whose neighbours' velocities lie no
	 * nearer the target.  Where the velocity jumps (the dip at the switch)
	 * that is the float the search found at the jump. */
	float best = d;
	double best_g = g1;
	settling_steps s = at;
	for (const float way : {FLT_MAX, 0.0F}) {
		for (int walked = 0; walked < 64; walked++) {
			const float next = std::nextafter(best, way);
			const double g = above(next, rho, target, s);
			if (std::fabs(g) >= std::fabs(best_g))
				break;
			best = next;
			best_g = g;
			at = s;
		}
	}
	return best;
}

} // namespace

float sedimentation_settling_diameter(float velocity, float density)
{
	if (!in_domain(velocity) || !in_domain(density))
		return NAN;
	settling_steps s{};
	const float d = nearest(velocity, density, s);
	if (d == 0.0F)
		return NAN;
	/* At a limit of the report's (w 0.003, Nre 300) the nearest float may
	 * lie just beyond it, and its neighbour on this side settle as fast. */
	const float candidates[] = {d, std::nextafter(d, 0.0F), std::nextafter(d, FLT_MAX)};
	for (const float c : candidates) {
		const sedimentation_result r = c == d ? rounded(s) : sedimentation_compute(c, density);
		if (sedimentation_report_verdict(r) == SEDIMENTATION_SETTLES &&
		    std::fabs(static_cast<double>(r.velocity) / velocity - 1.0) <= 1e-6)
			return c;
	}
	return NAN;
}

/*
 * A particle of 1 g/cm^3 is its own twin: the search could find a float
 * whose velocity is as near, a few floats away in the sawtooth, or across
 * the dip at the switch to Beard's polynomial.
 */
float sedimentation_aerodynamic_diameter(float diameter, float density)
{
	if (!in_domain(diameter) || !in_domain(density))
		return NAN;
	const sedimentation_result particle = sedimentation_compute(diameter, density);
	if (!within_model(particle) || particle.velocity <= 0.0F)
		return NAN;
	if (density == 1.0F)
		return diameter;
	const auto velocity = static_cast<double>(particle.velocity);
	settling_steps s{};
	const float twin = nearest(velocity, 1.0F, s);
	const sedimentation_result r = rounded(s);
	if (twin == 0.0F || !within_model(r) ||
	    std::fabs(static_cast<double>(r.velocity) / velocity - 1.0) > 1e-6)
		return NAN;
	return twin;
}
