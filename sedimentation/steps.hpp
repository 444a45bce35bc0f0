#ifndef SEDIMENTATION_STEPS_HPP
#define SEDIMENTATION_STEPS_HPP

/*
 * One particle's computation step by step, and the limits that the
 * model's regimes and the report's rules compare with: what the web page
 * needs to explain a result with the particle's own values.  Internal to
 * this project; not installed.  The factors and coefficients are in
 * model.hpp, with their derivation.
 *
 * Units: d in um, rho in g/cm^3, vs in cm/s; w and Nre are dimensionless.
 */
#include "sedimentation/sedimentation.h"

/* Below this w (the unrounded product) the flow round the particle is
 * creeping: Stokes' law.  From it on, Beard's polynomial. */
inline constexpr double stokes_limit = 0.24;

/* Above this Reynolds number Beard's regime 2 no longer holds: the report
 * warns instead of giving a velocity. */
inline constexpr float reynolds_limit = 300.0F;

/* Below this Best number the particle counts as not settling: the report
 * gives the velocity 0.  Compared with the single-precision w. */
inline constexpr double settling_limit = 0.003;

/* The values between the rounding points, in the order they arise. */
struct settling_steps {
	double product;        /* w = ((d 4.991e-5) d) d rho, unrounded */
	float best_number;     /* w rounded to float */
	bool stokes;           /* product below stokes_limit: Stokes' law, else Beard's */
	float x;               /* Beard's X = ln w of the unrounded w, rounded to float */
	double polynomial;     /* Beard's ln Nre, by Horner in double, unrounded */
	double reynolds_wide;  /* Nre before its rounding: w 1/24, or e^polynomial */
	float reynolds_number; /* Nre rounded to float */
	double velocity;       /* vs = (Nre 1462) / d in cm/s, unrounded */
};

/* The computation behind both entry points of the library; x and
 * polynomial are 0 in Stokes' regime.  Hidden in the shared library, so
 * that the calls from its other object files are direct ones. */
settling_steps settling(float d, float rho);

/* The results of the steps as sedimentation_compute gives them: vs
 * rounded to float, its last rounding point. */
sedimentation_result rounded(const settling_steps &s);

/* The diameter in um at which w reaches stokes_limit for density rho. */
double stokes_diameter(float rho);

#endif
