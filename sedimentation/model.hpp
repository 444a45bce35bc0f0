#ifndef SEDIMENTATION_MODEL_HPP
#define SEDIMENTATION_MODEL_HPP

/*
 * The model's factors and coefficients, each with its derivation; a new
 * factor of the model goes here.  The limits and the step-by-step
 * computation are in steps.hpp, the rounding helper in single.h.  Private
 * to the library's sources and the web page, which prints them; not
 * installed.
 *
 * Units: d in um, rho in g/cm^3, vs in cm/s; w and Nre are dimensionless.
 */
#include "sedimentation/single.h"
#include "sedimentation/steps.hpp"

/*
 * Best number w = C_D * Re^2 = 4 g (rho - rho_air) d^3 / (3 rho_air nu^2),
 * with the air's density neglected beside the particle's.  For d in um
 * (10^-12 cm^3/um^3), rho in g/cm^3, g = 980.665 cm/s^2 and nu = 0.1462
 * cm^2/s the factor 4 g 10^-12 / (3 rho_air nu^2) is 4.991e-5 for an air
 * density of 1.2257e-3 g/cm^3.  Unit: 1/(um^3 g/cm^3).  Kept in double.
 */
inline constexpr double best_factor = 4.991e-05;

/*
 * Stokes' law C_D = 24/Re gives Nre = w/24.  The factor is the float nearest
 * 1/24 (0.041666668), as the procedure has it, not the exact fraction.
 */
inline constexpr float stokes_factor = 0.041666668F;

/*
 * nu in um*cm/s: the kinematic viscosity of air, 0.1462 cm^2/s, times
 * 10^4 um/cm, from Nre = vs d / nu with vs in cm/s and d in um.
 */
inline constexpr double velocity_factor = 1462.0;

/*
 * Beard, K. V. (1976): Terminal velocity and shape of cloud and
 * precipitation drops aloft.  J. Atmos. Sci. 33, 851-864, regime 2
 * (19 um to 1.07 mm for water drops at sea level):
 *
 *   ln Nre = a0 + a1 X + a2 X^2 + ... + a6 X^6,   X = ln w.
 *
 * Kept in single precision as the procedure stores them, a0 first.  Where
 * the polynomial has its maximum, and so its meaning ends, is public:
 * beard_peak_best_number in sedimentation.h.
 */
inline constexpr float beard[] = {
	-3.18657F, 0.992696F, -1.53193e-3F, -9.87059e-4F, -5.78878e-4F, 8.55176e-5F, -3.27815e-6F,
};

#endif
