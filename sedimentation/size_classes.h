/*
 * TA Luft's size classes of dust by aerodynamic diameter, for the web page
 * and the Python module: C and C++.  Internal to this project; not
 * installed.
 *
 * Source: TA Luft 2002 (Technische Anleitung zur Reinhaltung der Luft),
 * Anhang 3, Tabelle 13, "Depositions- und Sedimentationsgeschwindigkeiten
 * fuer Staeube": the dispersion calculation splits a dust emission into
 * four classes of aerodynamic diameter da,
 *
 *   class 1: below 2.5 um        class 3: 10 to 50 um
 *   class 2: 2.5 to 10 um        class 4: above 50 um
 *
 * Classes 1 and 2 together are PM10, class 1 PM2.5.  A diameter on a limit
 * belongs to the class above it: "kleiner 2,5" for class 1 leaves 2.5 um to
 * class 2.
 */
#ifndef SEDIMENTATION_SIZE_CLASSES_H
#define SEDIMENTATION_SIZE_CLASSES_H

#include <math.h> // NOLINT(modernize-deprecated-headers): C as well as C++

/* The limits between the classes, in um, from class 1 up. */
static const double ta_luft_limits[3] = {2.5, 10.0, 50.0};

/* TA Luft's class of the aerodynamic diameter da in um: 1 to 4; 0 for a
 * NaN (no aerodynamic diameter). */
static inline int ta_luft_class(double da)
{
	int size_class = 1;
	if (isnan(da))
		return 0;
	while (size_class <= 3 && da >= ta_luft_limits[size_class - 1])
		size_class++;
	return size_class;
}

#endif
