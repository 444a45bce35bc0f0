/*
 * Rounding to single precision, for the model, the program's reader and
 * the Python module alike: C and C++.  Internal to this project; not
 * installed.
 */
#ifndef SEDIMENTATION_SINGLE_H
#define SEDIMENTATION_SINGLE_H

/* The C headers, for C as well as C++. */
#include <float.h>  // NOLINT(modernize-deprecated-headers)
#include <math.h>   // NOLINT(modernize-deprecated-headers)
#include <stdint.h> // NOLINT(modernize-deprecated-headers)
#include <string.h> // NOLINT(modernize-deprecated-headers)

/* The bits of a float, IEEE 754 single precision, as an unsigned number:
 * positive floats are ordered as their patterns, +0 is 0, +infinity
 * 0x7f800000, and a NaN lies above it (with the sign bit clear).  Read
 * without a comparison of floats, which would raise the invalid-operation
 * flag for a signalling NaN.  (memcpy, as std::bit_cast is missing from
 * the C++ library that emscripten brings.) */
static inline uint32_t float_bits(float x)
{
	uint32_t bits;
	memcpy(&bits, &x, sizeof bits);
	return bits;
}

/* The float of these bits, the inverse of float_bits. */
static inline float float_of_bits(uint32_t bits)
{
	float x;
	memcpy(&x, &bits, sizeof x);
	return x;
}

/* 0 < x <= FLT_MAX, told by the bits alone: positive floats from the
 * smallest subnormal to FLT_MAX are the patterns 1 to 0x7f7fffff.  No
 * comparison of floats, which would raise the invalid-operation flag for a
 * signalling NaN, and stop at a trap. */
static inline int positive_finite(float x)
{
	return float_bits(x) - 1U < 0x7f7fffffU;
}

/*
 * x rounded to single precision as IEEE 754 round-to-nearest does, without
 * converting a value beyond float's range, which C and C++ leave undefined.
 * A magnitude above FLT_MAX but below the midpoint between FLT_MAX and
 * 2^128 becomes FLT_MAX; from the midpoint on (the tie goes to the even
 * 2^128) it becomes infinity, with x's sign.  isgreater, since > would
 * raise the invalid-operation flag for a NaN, which goes through quietly.
 */
static inline float to_single(double x)
{
	const double midpoint = 0x1.ffffffp127;
	const double magnitude = fabs(x);
	if (!isgreater(magnitude, FLT_MAX))
#ifdef __cplusplus
		return static_cast<float>(x); /* in range, or NaN */
#else
		return (float)x; /* in range, or NaN */
#endif
	const float r = magnitude >= midpoint ? INFINITY : FLT_MAX;
	return x < 0 ? -r : r;
}

#endif
