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
