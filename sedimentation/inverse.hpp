#ifndef SEDIMENTATION_INVERSE_HPP
#define SEDIMENTATION_INVERSE_HPP

/*
 * The aerodynamic diameter with the reason it has none, as the library
 * finds it: for the library's size class and for the web page, which says
 * why a particle has no aerodynamic diameter from this answer, not by a
 * guess of its own.  Internal to this project; not installed.
 */

/* How far a velocity found may lie from the one asked, relative: from one
 * float diameter to the next the roundings of w, X and Nre move vs by up to
 * some 6e-7 either way, so the nearest float lies within this. */
inline constexpr double velocity_tolerance = 1e-6;

/* Whether a particle has an aerodynamic diameter, or why not. */
enum class twin_status {
	found,
	outside_domain, /* d or rho not in (0, FLT_MAX] */
	particle_warns, /* the report warns for the particle itself */
	no_velocity,    /* the model's velocity underflows to 0 */
	twin_too_fast,  /* faster than every sphere of 1 g/cm^3 below Nre 300 */
	twin_missed,    /* no float of 1 g/cm^3 settles as fast within the tolerance */
};

struct twin {
	float da; /* um; NaN unless found */
	twin_status status;
};

/* The unit-density twin of the particle d, rho: what
 * sedimentation_aerodynamic_diameter gives, with its reason. */
twin aerodynamic_twin(float diameter, float density);

/* The size class that follows for a particle from its twin
 * (sedimentation_particle_size_class). */
int size_class_of(const twin &t);

#endif
