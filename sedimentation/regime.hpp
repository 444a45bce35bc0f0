#ifndef SEDIMENTATION_REGIME_HPP
#define SEDIMENTATION_REGIME_HPP

/*
 * The Best number and the limit of Stokes' regime: the model computes with
 * them, and the web page marks the limit on its plot.  Internal to this
 * project; not installed.
 */

/*
 * Best number w = C_D * Re^2 = 4 g (rho - rho_air) d^3 / (3 rho_air nu^2),
 * with the air's density neglected beside the particle's.  For d in um
 * (10^-12 cm^3/um^3), rho in g/cm^3, g = 980.665 cm/s^2 and nu = 0.1462
 * cm^2/s the factor 4 g 10^-12 / (3 rho_air nu^2) is 4.991e-5 for an air
 * density of 1.2257e-3 g/cm^3.  Unit: 1/(um^3 g/cm^3).
 */
inline constexpr double best_factor = 4.991e-05;

/* Below this w the flow round the particle is creeping: Stokes' law. */
inline constexpr double stokes_limit = 0.24;

#endif
