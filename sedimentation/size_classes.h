/*
 * TA Luft's size classes of dust by aerodynamic diameter: their limits,
 * which class a diameter on a limit belongs to, and their source, for the
 * library (sedimentation_size_class), the web page and the Python module:
 * C and C++.  Internal to this project; not installed.
 *
 * Source: TA Luft 2002 (Technische Anleitung zur Reinhaltung der Luft),
 * Anhang 3, Nr. 4, Tabelle 13, "Depositions- und
 * Sedimentationsgeschwindigkeiten fuer Staeube": the dispersion calculation
 * splits a dust emission into four classes of aerodynamic diameter da, in
 * um, worded there as
 *
 *   class 1 "kleiner 2,5"    class 3 "10 bis 50"
 *   class 2 "2,5 bis 10"     class 4 "groesser 50"
 *
 * Read as written, 2.5 is not "kleiner 2,5" and so is class 2; 10 is
 * class 3, since PM-10 (classes 1 and 2) is "aerodynamischer Durchmesser
 * kleiner als 10 um"; 50 is "10 bis 50" and not "groesser 50", so class 3.
 * Classes 1 and 2 together are PM10, class 1 PM2.5.
 */
#ifndef SEDIMENTATION_SIZE_CLASSES_H
#define SEDIMENTATION_SIZE_CLASSES_H

/* Where the classes come from, as the page, the record, the files and the
 * Python module name it. */
#define TA_LUFT_SOURCE "TA Luft 2002, Anhang 3, Tabelle 13"

/* The number of classes, and the limits between them in um, from class 1
 * up. */
enum { ta_luft_classes = 4 };
static const double ta_luft_limits[ta_luft_classes - 1] = {2.5, 10.0, 50.0};

/* 1 where a diameter on the limit belongs to the class above it, 0 where
 * to the class below: 2.5 and 10 go up, 50 stays in class 3. */
static const int ta_luft_limit_goes_up[ta_luft_classes - 1] = {1, 1, 0};

#endif
