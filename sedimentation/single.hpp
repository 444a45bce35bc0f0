#ifndef SEDIMENTATION_SINGLE_HPP
#define SEDIMENTATION_SINGLE_HPP

#include <cfloat>
#include <limits>

/*
 * x rounded to single precision as IEEE 754 round-to-nearest does, without
 * casting a value beyond float's range: that cast is undefined behaviour in
 * C++.  A magnitude above FLT_MAX but below the midpoint between FLT_MAX and
 * 2^128 becomes FLT_MAX; from the midpoint on (the tie goes to the even
 * 2^128) it becomes infinity.  Internal to this project; not installed.
 */
inline float to_single(double x)
{
	constexpr double midpoint = 0x1.ffffffp127;
	const bool negative = x < 0;
	const double magnitude = negative ? -x : x;
	if (!(magnitude > FLT_MAX))
		return static_cast<float>(x); /* in range, or NaN */
	const float r = magnitude >= midpoint ? std::numeric_limits<float>::infinity() : FLT_MAX;
	return negative ? -r : r;
}

#endif
