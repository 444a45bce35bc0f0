#ifndef ABSINK_REPORT_HPP
#define ABSINK_REPORT_HPP

/*
 * The report's rules on its input and on a result: apart from its
 * printing, so that the web page follows the very same ones.
 */

/* Whether a diameter or density, as read, gives a report rather than the
 * usage screen: only above zero. */
bool report_accepts(float value);

/* Whether the report ends with a warning instead of a velocity, for the
 * Best number w and the Reynolds number Nre. */
bool report_warns(float w, float nre);

/* The velocity that the report shows for vs in cm/s: zero below w 0.003. */
float reported_velocity(float w, float vs);

#endif
