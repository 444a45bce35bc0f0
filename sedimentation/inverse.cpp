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
 * searched in two phases: in ln d, by the secant method between two
 * diameters of known w, with a halving of the bracket wherever the secant
 * leaves it; then over the neighbouring floats, since from one float to
 * the next the roundings of w, X and Nre make the velocity step by up to
 * some 6e-7 either way: a sawtooth.
 */
#include "sedimentation/inverse.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"
#include "sedimentation/steps.hpp"

#include <cfloat>
#include <cmath>
#include <initializer_list>

namespace {

/*
 * The ends of the search, as Best numbers.  The lower, 1e-30, where w, Nre
 * and vs are still normal floats (a diameter of some 3e-9 um at
 * 1 g/cm^3).  The upper, an eighth of the polynomial's peak (1.1e5, where
 * Nre ~ 430 lies beyond every velocity the report gives and the velocity
 * still rises).
 */
constexpr double bottom_best_number = 1e-30;
double top_best_number()
{
	return beard_peak_best_number / 8;
}

/* The secant's steps at the most.  It converges in some ten; the halvings
 * that keep it in its bracket of some 25 in ln d need at most 28 more to
 * narrow it to one float. */
constexpr int most_secant_steps = 80;

/* Where the secant hands over to the walk: the velocity within 1.5e-7 of
 * the target in ln, about the sawtooth's step from one float to the next,
 * or the bracket narrower than 1e-7 in ln d, about one float's width
 * (2^-23 = 1.2e-7). */
constexpr double secant_near = 1.5e-7;
constexpr double bracket_narrowest = 1e-7;

/* The walk's floats at the most, either way: the secant ends within a few
 * floats of the nearest; 64 leaves room for the sawtooth's irregular
 * teeth. */
constexpr int most_walked = 64;

/* Within this of 1, the ratio of two velocities less 1 agrees with its
 * logarithm to 1e-4 of itself, and costs less. */
constexpr double ratio_near_one = 1e-4;

/* Whether the model's velocity means something for this result: the report
 * gives it, or gives 0 for a particle it counts as not settling, but does
 * not warn (Nre above 300, or beyond the polynomial's peak). */
bool within_model(const sedimentation_result &r)
{
	return !std::isnan(sedimentation_reported_velocity(r));
}

/* Whether the velocity v lies within the tolerance of the target. */
bool settles_as_fast(float v, double target)
{
	return std::fabs(static_cast<double>(v) / target - 1.0) <= velocity_tolerance;
}

/*
 * How far the velocity of the particle d, rho lies above the target:
 * ln(v / target), or near 1 the ratio less 1.  v is the velocity as
 * sedimentation_compute gives it, rounded to float: the one a caller
 * sees.  s gets the model's steps.
 */
double above(float d, float rho, double target, settling_steps &s)
{
	s = settling(d, rho);
	const double ratio = static_cast<double>(rounded(s).velocity) / target;
	if (ratio == 0.0)
		return -HUGE_VAL; /* Nre underflowed: no log of 0 */
	return std::fabs(ratio - 1.0) < ratio_near_one ? ratio - 1.0 : std::log(ratio);
}

/* What a search found: the float diameter d (0 where the target lies
 * beyond an end of the search, too_fast where beyond the upper end), with
 * its steps and how far its velocity lies above the target. */
struct search {
	float d = 0.0F;
	bool too_fast = false;
	settling_steps at{};
	double g = 0.0;
};

/* The secant's state: the bracket in ln d, which ends were tried, and the
 * last two points. */
struct secant_state {
	double lo, hi;
	bool lo_tried, hi_tried;
	double x0, g0, x1;
};

/* The bracket for density rho, from a start whose w is a normal float:
 * 1 um, or for a density so low that it is not, 10^12 um.  The ends follow
 * from its unrounded w, as w ~ d^3; the second point as Stokes' law
 * (vs ~ d^2) would have it. */
secant_state bracket(double target, float rho, search &r)
{
	float reference = 1.0F;
	double g0 = above(reference, rho, target, r.at);
	if (r.at.best_number < FLT_MIN) {
		reference = 1e12F;
		g0 = above(reference, rho, target, r.at);
	}
	const double hi = std::log(reference) + std::log(top_best_number() / r.at.product) / 3;
	const double lo = hi - std::log(top_best_number() / bottom_best_number) / 3;
	const double x0 = std::log(reference);
	return {lo, hi, false, false, x0, g0, x0 - g0 / 2};
}

/* Where the secant leaves its bracket: an end that it passes is tried
 * once, and if the target lies beyond it no diameter has it (false, with
 * r.too_fast at the upper end); then the bracket is halved. */
bool keep_in_bracket(secant_state &b, double target, float rho, search &r)
{
	if (b.x1 > b.lo && b.x1 < b.hi)
		return true;
	if (!b.lo_tried && b.x1 <= b.lo) {
		if (above(to_single(std::exp(b.lo)), rho, target, r.at) >= 0.0)
			return false;
		b.lo_tried = true;
	} else if (!b.hi_tried && b.x1 >= b.hi) {
		if (above(to_single(std::exp(b.hi)), rho, target, r.at) < 0.0) {
			r.too_fast = true;
			return false;
		}
		b.hi_tried = true;
	}
	b.x1 = (b.lo + b.hi) / 2;
	return true;
}

/* The first phase: the secant method in ln d, kept in its bracket, to a
 * float near the target; r.d stays 0 where the target lies beyond an
 * end. */
search secant(double target, float rho)
{
	search r;
	secant_state b = bracket(target, rho, r);
	for (int step = 0; step < most_secant_steps; step++) {
		if (!keep_in_bracket(b, target, rho, r)) {
			r.d = 0.0F;
			return r;
		}
		r.d = to_single(std::exp(b.x1));
		r.g = above(r.d, rho, target, r.at);
		if (std::fabs(r.g) < secant_near || b.hi - b.lo < bracket_narrowest)
			break;
		if (r.g >= 0.0) {
			b.hi = b.x1;
			b.hi_tried = true;
		} else {
			b.lo = b.x1;
			b.lo_tried = true;
		}
		const double x2 = r.g == b.g0 ? (b.lo + b.hi) / 2 : b.x1 - r.g * (b.x1 - b.x0) / (r.g - b.g0);
		b.x0 = b.x1;
		b.g0 = r.g;
		b.x1 = x2;
	}
	return r;
}

/* The second phase: over the neighbouring floats, one way and the other,
 * while the next lies nearer, to a float whose neighbours' velocities lie
 * no nearer the target.  Where the velocity jumps (the dip at the switch)
 * that is the float the search found at the jump. */
void walk(search &r, double target, float rho)
{
	settling_steps s{};
	for (const float way : {FLT_MAX, 0.0F}) {
		for (int walked = 0; walked < most_walked; walked++) {
			const float next = std::nextafter(r.d, way);
			const double g = above(next, rho, target, s);
			if (std::fabs(g) >= std::fabs(r.g))
				break;
			r.d = next;
			r.g = g;
			r.at = s;
		}
	}
}

/* The float diameter of density rho whose velocity lies nearest the
 * target in cm/s. */
search nearest(double target, float rho)
{
	search r = secant(target, rho);
	if (r.d != 0.0F)
		walk(r, target, rho);
	return r;
}

/*
 * The diameter of density rho that settles at the target velocity and
 * whose verdict `accepted` takes, within the tolerance.  At a limit of the
 * report's (w 0.003, Nre 300) the nearest float may lie just beyond it,
 * and its neighbour on this side settle as fast: both neighbours are
 * tried.  A target faster than every accepted diameter is twin_too_fast.
 */
twin diameter_at(double target, float rho, bool (*accepted)(sedimentation_verdict))
{
	const search s = nearest(target, rho);
	if (s.d == 0.0F)
		return {NAN, s.too_fast ? twin_status::twin_too_fast : twin_status::twin_missed};
	const float candidates[] = {s.d, std::nextafter(s.d, 0.0F), std::nextafter(s.d, FLT_MAX)};
	for (const float c : candidates) {
		const sedimentation_result r = c == s.d ? rounded(s.at) : sedimentation_compute(c, rho);
		if (accepted(sedimentation_report_verdict(r)) && settles_as_fast(r.velocity, target))
			return {c, twin_status::found};
	}
	/* The nearest lies beyond Nre 300: the target is faster than every
	 * diameter below it. */
	const bool beyond = !within_model(rounded(s.at)) && rounded(s.at).velocity > 0.0F;
	return {NAN, beyond ? twin_status::twin_too_fast : twin_status::twin_missed};
}

bool reported_as_is(sedimentation_verdict v)
{
	return v == SEDIMENTATION_SETTLES;
}

bool not_warned(sedimentation_verdict v)
{
	return v == SEDIMENTATION_SETTLES || v == SEDIMENTATION_NOT_SETTLING;
}

} // namespace

float sedimentation_settling_diameter(float velocity, float density)
{
	if (!positive_finite(velocity) || !positive_finite(density))
		return NAN;
	return diameter_at(velocity, density, reported_as_is).da;
}

/*
 * A particle of 1 g/cm^3 is its own twin: the search could find a float
 * whose velocity is as near, a few floats away in the sawtooth, or across
 * the dip at the switch to Beard's polynomial.
 */
twin aerodynamic_twin(float diameter, float density)
{
	if (!positive_finite(diameter) || !positive_finite(density))
		return {NAN, twin_status::outside_domain};
	const sedimentation_result particle = sedimentation_compute(diameter, density);
	if (!within_model(particle))
		return {NAN, twin_status::particle_warns};
	if (particle.velocity <= 0.0F)
		return {NAN, twin_status::no_velocity};
	if (density == 1.0F)
		return {diameter, twin_status::found};
	return diameter_at(particle.velocity, 1.0F, not_warned);
}

float sedimentation_aerodynamic_diameter(float diameter, float density)
{
	return aerodynamic_twin(diameter, density).da;
}
