/*
 * A dust's size distribution split into TA Luft's size classes: the share
 * of the emission mass in each class, for the dispersion calculation of
 * each (TA Luft 2002, Anhang 3, Nr. 4: „Die Ausbreitungsrechnung für eine
 * Korngrößenklasse ist mit dem Emissionsmassenstrom der betreffenden
 * Korngrößenklasse durchzuführen.“).
 *
 * Method.  Each class limit (2.5, 10, 50 um aerodynamic) becomes a
 * diameter of the measured kind: for geometric sizes of a density, the
 * smallest float diameter of that density whose aerodynamic diameter, as
 * the library gives it, reaches the limit (below w 0.003 too, where the
 * report gives vs = 0: the twin follows the model's velocity).  The
 * cumulative passing Q at a limit x is interpolated linearly in ln d
 * between the two measured sizes around it,
 *
 *   Q(x) = Q_i + (Q_i+1 - Q_i) ln(x / d_i) / ln(d_i+1 / d_i),
 *
 * and is a measured size's own value at that size.  Any distribution that
 * rises through the measured points has Q_i <= Q(x) <= Q_i+1: those are a
 * limit's bounds, and a class's bounds are the differences of its limits'
 * bounds, never below 0.  Below the smallest measured size or above the
 * largest nothing is estimated: the fractions that depend on such a limit
 * are NaN, and the bounds run to 0 or to 100 %.  Class 1 is the passing at
 * the 2.5 um limit, class 4 what passes no longer at 50 um.
 *
 * No allocation: the sizes are taken in the order given, and each check
 * and each search looks at every pair or every size, which for the few
 * hundred sizes of an analysis costs microseconds.
 */
#include "sedimentation/inverse.hpp"
#include "sedimentation/sedimentation.h"
#include "sedimentation/single.h"
#include "sedimentation/size_classes.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

/* A distribution as given: n sizes in um and their passing in per cent
 * (a residue already turned into the passing, 100 - R). */
struct distribution {
	const float *size;
	const float *value;
	int n;
	bool residue;

	[[nodiscard]] double passing(int i) const
	{
		const auto v = static_cast<double>(value[i]);
		return residue ? 100.0 - v : v;
	}
};

sedimentation_split failed(sedimentation_split_status status, int index)
{
	sedimentation_split s{};
	s.status = status;
	s.index = index;
	for (int k = 0; k < 3; k++) {
		s.limits[k] = s.passing[k] = NAN;
		s.below[k] = s.above[k] = -1;
	}
	for (int k = 0; k < 4; k++)
		s.fractions[k] = s.low[k] = s.high[k] = NAN;
	return s;
}

/* 0 <= x <= 100, a NaN not. */
bool percent(float x)
{
	return !std::isnan(x) && x >= 0.0F && x <= 100.0F;
}

/* The first entry, in the order given, that is bad on its own, given
 * twice, or whose passing falls below that of a smaller size. */
sedimentation_split check(const distribution &g)
{
	for (int j = 0; j < g.n; j++) {
		if (!positive_finite(g.size[j]))
			return failed(SEDIMENTATION_SPLIT_BAD_SIZE, j);
		if (!percent(g.value[j]))
			return failed(SEDIMENTATION_SPLIT_BAD_PERCENT, j);
	}
	for (int j = 0; j < g.n; j++)
		for (int i = 0; i < j; i++)
			if (g.size[i] == g.size[j])
				return failed(SEDIMENTATION_SPLIT_DUPLICATE_SIZE, j);
	for (int j = 0; j < g.n; j++)
		for (int i = 0; i < g.n; i++)
			if (g.size[i] < g.size[j] && g.passing(i) > g.passing(j))
				return failed(SEDIMENTATION_SPLIT_FALLING, j);
	return failed(SEDIMENTATION_SPLIT_OK, -1);
}

/* Whether a particle of diameter d reaches the aerodynamic limit: a twin
 * beyond Nre 300, or a particle that itself lies there, does. */
bool reaches(float d, float density, double limit)
{
	const twin t = aerodynamic_twin(d, density);
	if (t.status == twin_status::found)
		return static_cast<double>(t.da) >= limit;
	return t.status == twin_status::twin_too_fast || t.status == twin_status::particle_warns;
}

/* The smallest positive float diameter of the density that reaches the
 * limit, by bisection over the floats' bit patterns (ordered as the
 * floats); NaN where none does. */
float limit_diameter(double limit, float density)
{
	std::uint32_t lo = 1;           /* the smallest subnormal: below every limit */
	std::uint32_t hi = 0x7f7fffffU; /* FLT_MAX */
	if (!reaches(float_of_bits(hi), density, limit))
		return NAN;
	while (hi - lo > 1) {
		const std::uint32_t mid = lo + (hi - lo) / 2;
		if (reaches(float_of_bits(mid), density, limit))
			hi = mid;
		else
			lo = mid;
	}
	return float_of_bits(hi);
}

/* The passing at x with its bounds: interpolated in ln d between the
 * measured sizes around it; NaN with bounds to 0 or 100 % beyond them. */
struct passing_at {
	double estimate, low, high;
	int below, above;
};

passing_at interpolate(const distribution &g, double x)
{
	int below = -1;
	int above = -1;
	for (int i = 0; i < g.n; i++) {
		const auto d = static_cast<double>(g.size[i]);
		if (d <= x && (below < 0 || d > static_cast<double>(g.size[below])))
			below = i;
		if (d >= x && (above < 0 || d < static_cast<double>(g.size[above])))
			above = i;
	}
	if (below < 0)
		return {NAN, 0.0, g.passing(above), below, above};
	if (above < 0)
		return {NAN, g.passing(below), 100.0, below, above};
	const double q0 = g.passing(below);
	const double q1 = g.passing(above);
	if (below == above)
		return {q0, q0, q0, below, above};
	const auto d0 = static_cast<double>(g.size[below]);
	const auto d1 = static_cast<double>(g.size[above]);
	return {q0 + (q1 - q0) * std::log(x / d0) / std::log(d1 / d0), q0, q1, below, above};
}

} // namespace

sedimentation_split sedimentation_class_split(
	const float *size, int n_size, const float *passing, int n_passing, float density, int residue)
{
	if (n_size != n_passing)
		return failed(SEDIMENTATION_SPLIT_UNEQUAL, n_size < n_passing ? n_size : n_passing);
	if (n_size < 2 || size == nullptr || passing == nullptr)
		return failed(SEDIMENTATION_SPLIT_TOO_FEW, -1);
	if (n_size > sedimentation_split_most)
		return failed(SEDIMENTATION_SPLIT_TOO_MANY, sedimentation_split_most);
	if (density != 0.0F && !positive_finite(density))
		return failed(SEDIMENTATION_SPLIT_BAD_DENSITY, -1);
	const distribution g{size, passing, n_size, residue != 0};
	sedimentation_split s = check(g);
	if (s.status != SEDIMENTATION_SPLIT_OK)
		return s;
	/* The passing at each limit, and the 0 and 100 % that close the
	 * classes. */
	passing_at q[ta_luft_classes + 1] = {{0.0, 0.0, 0.0, -1, -1}};
	q[ta_luft_classes] = {100.0, 100.0, 100.0, -1, -1};
	for (int k = 0; k < ta_luft_classes - 1; k++) {
		const float x = density == 0.0F ? static_cast<float>(ta_luft_limits[k])
						: limit_diameter(ta_luft_limits[k], density);
		s.limits[k] = x;
		q[k + 1] = std::isnan(x) ? passing_at{NAN, 0.0, 100.0, -1, -1}
					 : interpolate(g, static_cast<double>(x));
		s.passing[k] = static_cast<float>(q[k + 1].estimate);
		s.below[k] = q[k + 1].below;
		s.above[k] = q[k + 1].above;
	}
	/* Each class between two limits: rounded to float once, here. */
	for (int k = 0; k < ta_luft_classes; k++) {
		s.fractions[k] = static_cast<float>(q[k + 1].estimate - q[k].estimate);
		s.low[k] = static_cast<float>(std::fmax(0.0, q[k + 1].low - q[k].high));
		s.high[k] = static_cast<float>(q[k + 1].high - q[k].low);
	}
	return s;
}

const char *sedimentation_split_message(int status)
{
	switch (status) {
	case SEDIMENTATION_SPLIT_OK:
		return "";
	case SEDIMENTATION_SPLIT_TOO_FEW:
		return "weniger als zwei Größen";
	case SEDIMENTATION_SPLIT_TOO_MANY:
		return "mehr Größen, als die Aufteilung nimmt";
	case SEDIMENTATION_SPLIT_UNEQUAL:
		return "ungleich viele Größen und Durchgänge";
	case SEDIMENTATION_SPLIT_BAD_SIZE:
		return "die Größe ist nicht größer als 0 oder keine Zahl";
	case SEDIMENTATION_SPLIT_BAD_PERCENT:
		return "der Wert liegt nicht zwischen 0 und 100 %";
	case SEDIMENTATION_SPLIT_DUPLICATE_SIZE:
		return "die Größe steht schon in einer Zeile davor";
	case SEDIMENTATION_SPLIT_FALLING:
		return "der Durchgang fällt mit steigender Größe (der Rückstand steigt)";
	case SEDIMENTATION_SPLIT_BAD_DENSITY:
		return "die Dichte ist nicht größer als 0";
	default:
		return "unbekannter Zustand";
	}
}
