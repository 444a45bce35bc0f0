/*
 * Settling (sedimentation) velocity of a particle in still air, by the
 * procedure of the guideline VDI 3782 Blatt 1 (new edition).  For C (C99 and
 * later) and C++ (C++17 and later) alike.
 *
 * The particle enters through two numbers: its diameter d in micrometres and
 * its density rho in g/cm^3.  The procedure works through two dimensionless
 * numbers,
 *
 *   Best number      w   = 4.991e-5 * d^3 * rho        (d in um, rho in g/cm^3)
 *   Reynolds number  Nre = vs * d / nu
 *
 * and obtains Nre from w by Stokes' law (Nre = w / 24) below w = 0.24 and by
 * Beard's (1976) fitted drag polynomial above it.  The velocity follows as
 * vs = Nre * nu / d in cm/s.  The properties of air and gravity are folded
 * into the two factors 4.991e-5 and 1462 (their derivation is in the
 * sources, sedimentation/model.hpp).  sedimentation_report_verdict tells
 * what absink's report makes of a result.
 */
#ifndef SEDIMENTATION_SEDIMENTATION_H
#define SEDIMENTATION_SEDIMENTATION_H

/*
 * What a shared build exports.  Everything else in the library is hidden.
 * On Windows a program that uses the DLL is compiled with
 * SEDIMENTATION_SHARED (the CMake and pkg-config packages of a shared build
 * say so), so that it imports the two variables correctly.
 */
#if defined(_WIN32) && defined(SEDIMENTATION_SHARED)
#ifdef SEDIMENTATION_BUILDING
#define SEDIMENTATION_API __declspec(dllexport)
#else
#define SEDIMENTATION_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define SEDIMENTATION_API __attribute__((visibility("default")))
#else
#define SEDIMENTATION_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One particle's results, each rounded to single precision. */
struct sedimentation_result {
	float best_number;     /* w, dimensionless */
	float reynolds_number; /* Nre, dimensionless */
	float velocity;        /* vs in cm/s, as the report shows it */
};

/*
 * The settling velocity of a particle of the given diameter (um) and
 * density (g/cm^3), both greater than zero (not checked), with the Best and
 * Reynolds numbers on the way.  Keeps no state: any number of threads may
 * call it at once.
 *
 * best_number is infinity when w exceeds float's range; the velocity is
 * always finite, not negative and below 1e16.  No plausibility rule is
 * applied: sedimentation_report_verdict applies the report's.
 */
SEDIMENTATION_API struct sedimentation_result sedimentation_compute(float diameter, float density);

/*
 * What absink's report makes of a particle's results.  Its rules, in the
 * order they are applied:
 *
 *  - w above 9.1e5 (beard_peak_best_number): past the maximum of Beard's
 *    polynomial its Nre falls again and means nothing; a warning instead
 *    of vs.  (absink's own rule, not the guideline's.)
 *  - Nre above 300, where Beard's regime 2 ends: a warning instead of vs.
 *  - w below 0.003: the particle counts as not settling; vs is given as 0.
 *
 * Otherwise the report gives vs as it is.  The values are fixed: 0 to 3
 * in this order.
 */
enum sedimentation_verdict {
	SEDIMENTATION_SETTLES,              /* the report gives vs */
	SEDIMENTATION_NOT_SETTLING,         /* w < 0.003: the report gives vs = 0 */
	SEDIMENTATION_ABOVE_REYNOLDS_LIMIT, /* Nre > 300: a warning instead of vs */
	SEDIMENTATION_BEYOND_PEAK           /* w > 9.1e5: a warning instead of vs */
};

/*
 * The verdict of the report on r, a result of sedimentation_compute (or the
 * two variables below with the velocity that sedimentation_velocity
 * returned).  Pure: any number of threads may call it at once.
 */
SEDIMENTATION_API enum sedimentation_verdict sedimentation_report_verdict(struct sedimentation_result r);

/*
 * The velocity vs in cm/s of r as absink's report gives it: r.velocity
 * where the verdict is SEDIMENTATION_SETTLES, 0 where the particle counts
 * as not settling (w < 0.003), and NaN where the report warns instead (Nre
 * above 300, or w beyond the polynomial's peak).  The one place that turns
 * a verdict into a velocity: absink's report, its web page and the Python
 * module all take it from here.
 *
 * r is a result of sedimentation_compute.  One that it cannot give (a NaN,
 * a negative value or an infinite velocity in any member) gives NaN.  Pure:
 * any number of threads may call it at once.
 */
SEDIMENTATION_API float sedimentation_reported_velocity(struct sedimentation_result r);

/*
 * The inverse of the model: the diameter in um of a particle of density
 * rho (g/cm^3) that settles at the velocity vs (cm/s), where the report
 * gives that velocity; NaN where it gives none (no particle of that
 * density whose verdict is SEDIMENTATION_SETTLES settles at vs).
 *
 * Method: the model's velocity rises with the diameter wherever the report
 * gives one (as d^2 in Stokes' law, more slowly in Beard's regime), up to
 * w ~ 3.6e5, well past the last reported velocity at Nre 300 (w ~ 5.8e4);
 * its one dip, 0.1 % at the switch from Stokes' law to Beard's polynomial,
 * leaves a crossing on either side of it.  The model itself is searched:
 * the secant method in ln d, kept in a bracket, then a walk over the
 * neighbouring floats to one whose velocity lies nearest vs, nearer than
 * either neighbour's.  Some ten evaluations of the model.
 *
 * Accuracy: to float resolution; sedimentation_compute of the result gives
 * vs back within 1e-6, relative (from one float to the next the roundings
 * of w, X and Nre move vs by up to some 6e-7 either way).
 *
 * Domain: 0 < vs, rho <= FLT_MAX.  Outside it, and for a NaN, the result
 * is NaN; no floating-point exception is raised for it.  Pure: any number
 * of threads may call it at once.
 */
SEDIMENTATION_API float sedimentation_settling_diameter(float velocity, float density);

/*
 * The aerodynamic diameter in um of a particle of the given diameter (um)
 * and density (g/cm^3): the diameter of a sphere of 1 g/cm^3 that settles
 * as fast by this model, its unit-density twin.  It follows the model's
 * velocity, not the report's rules: below w = 0.003, where the report
 * gives vs = 0, the particle has one all the same.  In Stokes' law
 * (vs ~ d^2 rho) it is d sqrt(rho): 2 um at 2.65 g/cm^3 gives 3.2558 um.
 *
 * Method: the search of sedimentation_settling_diameter, at density 1,
 * for the particle's velocity; a particle of 1 g/cm^3 is its own twin.
 * Accuracy: to float resolution, the twin's velocity within 1e-6 of the
 * particle's, relative.  Near the switch from Stokes' law to Beard's
 * polynomial (w 0.24) the velocity dips by 0.1 %, and a velocity there
 * may have a twin on either side of it: the search gives one of them.
 *
 * Domain: 0 < d, rho <= FLT_MAX.  NaN outside it, and where the particle
 * or its twin lies beyond Nre 300 or beyond the polynomial's peak (where
 * the report warns), or where the particle is so small (d^3 rho below
 * some 1e-26 um^3 g/cm^3) that the model's velocity underflows.  No
 * floating-point exception is raised for a NaN result.  Pure: any number
 * of threads may call it at once.
 */
SEDIMENTATION_API float sedimentation_aerodynamic_diameter(float diameter, float density);

/*
 * TA Luft's size class of dust, 1 to 4, of the aerodynamic diameter da in
 * um as absink prints it ("%.4f", to four places).  TA Luft 2002, Anhang 3,
 * Nr. 4, Tabelle 13 names the classes "kleiner 2,5", "2,5 bis 10", "10 bis
 * 50" and "groesser 50"; read as written,
 *
 *   class 1: da < 2.5            class 3: 10 <= da <= 50
 *   class 2: 2.5 <= da < 10      class 4: da > 50
 *
 * so a da that prints as 2.5000 is class 2, one that prints as 50.0000
 * class 3.  Classes 1 and 2 are PM10, class 1 PM2.5.
 *
 * 0 for a NaN (no aerodynamic diameter), zero or a negative value; no
 * floating-point exception is raised.  Pure: any number of threads may
 * call it at once.
 */
SEDIMENTATION_API int sedimentation_size_class(float da);

/*
 * TA Luft's size class of a particle of the given diameter (um) and
 * density (g/cm^3): that of its aerodynamic diameter
 * (sedimentation_size_class of sedimentation_aerodynamic_diameter).  Where
 * the twin would lie beyond Nre 300, the particle settles faster than any
 * sphere of 1 g/cm^3 that the model covers (the largest, of 1051 um,
 * settles at 438.6 cm/s): its aerodynamic diameter is not given, but lies
 * above 50 um, so the class is 4 (700 um of quartz, 2.65 g/cm^3).
 *
 * 0 where no class follows: the particle itself lies beyond Nre 300 or
 * beyond the polynomial's peak, its velocity underflows, or it lies
 * outside the domain of sedimentation_aerodynamic_diameter.  No
 * floating-point exception is raised for it.  Pure: any number of threads
 * may call it at once.
 */
SEDIMENTATION_API int sedimentation_particle_size_class(float diameter, float density);

/*
 * A dust's size distribution split into TA Luft's four size classes: the
 * share of the emission mass in each, with which the dispersion of each
 * class is computed (TA Luft 2002, Anhang 3, Nr. 4).
 *
 * Input: n_size sizes in um (in any order) and n_passing values in per
 * cent, the cumulative mass passing at each size ("Durchgang") or, with
 * residue non-zero, the residue ("Rueckstand", R = 100 - Q); and the
 * density in g/cm^3 of geometric sizes (a sieve or laser analysis), or 0
 * where the sizes are aerodynamic diameters already (an impactor's).
 *
 * Method: each class limit, 2.5, 10 and 50 um aerodynamic, becomes a
 * diameter of the measured kind, the smallest float diameter of the
 * density whose aerodynamic diameter (sedimentation_aerodynamic_diameter,
 * below w = 0.003 too) reaches it.  The passing Q at a limit x is
 * interpolated linearly in ln d between the measured sizes d_i < x < d_i+1
 * around it, Q(x) = Q_i + (Q_i+1 - Q_i) ln(x/d_i) / ln(d_i+1/d_i), and is
 * a measured size's own value at that size.  Any distribution rising
 * through the measured points has Q_i <= Q(x) <= Q_i+1: a limit's bounds;
 * a class's bounds are the differences of its limits' bounds, never below
 * 0.  Class 1 is Q at 2.5 um, class 2 Q(10) - Q(2.5), class 3 Q(50) -
 * Q(10), class 4 100 - Q(50).  No extrapolation: below the smallest size
 * or above the largest a limit's Q is not estimated, the fractions that
 * depend on it are NaN, and their bounds run to 0 or to 100 %.
 *
 * Bad input gives no split: the status says what is wrong and index which
 * entry (from 0, in the order given), -1 where none; every number is then
 * NaN.  sedimentation_split_message words a status.  Pure, allocates
 * nothing: any number of threads may call it at once.
 */
enum sedimentation_split_status {
	SEDIMENTATION_SPLIT_OK,
	SEDIMENTATION_SPLIT_TOO_FEW,        /* fewer than two sizes */
	SEDIMENTATION_SPLIT_TOO_MANY,       /* more than sedimentation_split_most */
	SEDIMENTATION_SPLIT_UNEQUAL,        /* unequal numbers of sizes and values */
	SEDIMENTATION_SPLIT_BAD_SIZE,       /* a size not above zero, or not a number */
	SEDIMENTATION_SPLIT_BAD_PERCENT,    /* a value outside 0 to 100 %, or not a number */
	SEDIMENTATION_SPLIT_DUPLICATE_SIZE, /* a size given twice */
	SEDIMENTATION_SPLIT_FALLING,        /* a passing below that of a smaller size */
	SEDIMENTATION_SPLIT_BAD_DENSITY     /* a density not 0 and not above zero */
};

/* The most sizes a split takes: each check looks at every pair. */
enum { sedimentation_split_most = 10000 };

struct sedimentation_split {
	int status;         /* enum sedimentation_split_status */
	int index;          /* the entry the status concerns, from 0; -1 */
	float limits[3];    /* the class limits as diameters of the measured kind, um */
	float fractions[4]; /* each class's share in per cent; NaN where not determined */
	float low[4];       /* the least share the measured points allow, per cent */
	float high[4];      /* the largest */
	float passing[3];   /* Q at each limit, per cent; NaN where not estimated */
	int below[3];       /* the entries whose sizes lie around each limit, the */
	int above[3];       /* same at a measured size; -1 beyond the sizes */
};

SEDIMENTATION_API struct sedimentation_split sedimentation_class_split(
	const float *size, int n_size, const float *passing, int n_passing, float density, int residue);

/* The status in German words, as absink's page shows it ("" for OK). */
SEDIMENTATION_API const char *sedimentation_split_message(int status);

/*
 * The same computation for callers that read the results from the two
 * variables below: returns the velocity vs in cm/s unrounded (the caller
 * rounds it to single precision when it stores it) and leaves w in
 * best_number and Nre in reynolds_number.
 *
 * Not reentrant: the two results are shared by all calls.
 */
SEDIMENTATION_API double sedimentation_velocity(float d, float rho);

/* Results of the latest call of sedimentation_velocity; zero before it. */
SEDIMENTATION_API extern float best_number;     /* w, dimensionless */
SEDIMENTATION_API extern float reynolds_number; /* Nre, dimensionless */

#ifdef __cplusplus
}
#endif

/*
 * Beard's polynomial for ln Nre in ln w is fitted up to Nre of a few hundred.
 * Past its maximum, Nre ~ 892 at w ~ 9.13e5 (ln w ~ 13.72), it falls again
 * and would make large, fast particles slow: a 5 mm water drop would settle
 * at 78 cm/s, where it is measured at about 909 cm/s.  Beyond this w the
 * result has no physical meaning, and sedimentation_report_verdict says
 * SEDIMENTATION_BEYOND_PEAK.  Nre already exceeds 300 for every w from
 * about 5.8e4 to 5.7e6, so any limit in that span would have the same
 * effect; the maximum is the natural one.
 */
static const double beard_peak_best_number = 9.1e5;

#endif
