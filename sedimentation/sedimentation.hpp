/*
 * Settling (sedimentation) velocity of a particle in still air, by the
 * procedure of the guideline VDI 3782 Blatt 1 (new edition).
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
 * into the two factors 4.991e-5 and 1462; see sedimentation.cpp.
 */
#ifndef SEDIMENTATION_SEDIMENTATION_HPP
#define SEDIMENTATION_SEDIMENTATION_HPP

/*
 * Returns the settling velocity vs in cm/s of a particle of diameter d (um)
 * and density rho (g/cm^3), both greater than zero (not checked).
 *
 * The velocity is returned unrounded; the caller rounds it to single
 * precision when it stores it.  For every pair of positive finite floats it
 * is finite, not negative and below 1e16, so that rounding never leaves
 * float's range.
 *
 * As a side effect the call leaves w in best_number and Nre in
 * reynolds_number, both rounded to single precision.  best_number is
 * infinity when w exceeds float's range.  The routine applies no
 * plausibility rule of its own: see beard_peak_best_number.
 *
 * Not reentrant: the two results are shared by all calls.
 */
double sedimentation_velocity(float d, float rho);

/* Results of the latest call of sedimentation_velocity; zero before it. */
extern float best_number;     /* w, dimensionless */
extern float reynolds_number; /* Nre, dimensionless */

/*
 * Beard's polynomial for ln Nre in ln w is fitted up to Nre of a few hundred.
 * Past its maximum, Nre ~ 892 at w ~ 9.13e5 (ln w ~ 13.72), it falls again
 * and would make large, fast particles slow: a 5 mm water drop would settle
 * at 78 cm/s, where it is measured at about 909 cm/s.  Beyond this w the
 * result has no physical meaning.  Nre already exceeds 300 for every w from
 * about 5.8e4 to 5.7e6, so a caller that rejects Nre > 300 may take any
 * limit in that span with the same effect; the maximum is the natural one.
 */
inline constexpr double beard_peak_best_number = 9.1e5;

#endif
