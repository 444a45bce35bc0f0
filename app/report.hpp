#ifndef ABSINK_REPORT_HPP
#define ABSINK_REPORT_HPP

/*
 * The report's rules on its input and on a result, and their limits:
 * apart from its printing, so that the web page follows and explains the
 * very same ones.
 */

/* Above this Reynolds number Beard's regime 2 no longer holds: the report
 * warns instead of giving a velocity. */
inline constexpr float reynolds_limit = 300.0F;

/* Below this Best number the particle counts as not settling: the report
 * gives the velocity 0.  Compared with the single-precision w. */
inline constexpr double settling_limit = 0.003;

/* The line that stands instead of the velocity where the report warns. */
inline constexpr char warning_line[] = "Achtung: Reynolds-Zahl > 300";

/* Whether a diameter or density, as read, gives a report rather than the
 * usage screen: only above zero. */
bool report_accepts(float value);

/* Whether the report ends with a warning instead of a velocity, for the
 * Best number w and the Reynolds number Nre. */
bool report_warns(float w, float nre);

/* The velocity that the report shows for vs in cm/s: zero below w 0.003. */
float reported_velocity(float w, float vs);

#endif
