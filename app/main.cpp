/*
 * absink: settling velocity of a particle in still air, by VDI 3782 Blatt 1.
 *
 *	absink <diameter in um> <density in g/cm^3>
 *
 * Prints a German report on standard output.  The exit status is 0 on every
 * path, the usage screen and the warning included: scripts read the report,
 * not the status.
 */
#include <cstdio>
#include <cstdlib>

#include "app/argument.hpp"
#include "sedimentation/sedimentation.hpp"

[[noreturn]] static void print_usage();

/* The command name is fixed: the program may be started under another. */
static void print_usage()
{
	std::printf("Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu)\n");
	std::printf("Aufruf: absink <Durchmesser (in mu)> <Dichte (in g/cm3)>\n");
	std::exit(0);
}

int main(int argc, char *argv[])
{
	if (argc < 3)
		print_usage();

	/* Arguments past the second are ignored. */
	const float d = convert_argument(argv[1]);
	const float rho = convert_argument(argv[2]);
	if (!(d > 0.0F))
		print_usage();
	if (!(rho > 0.0F))
		print_usage();

	/* In range: the velocity stays below 1e16 cm/s. */
	float vs = static_cast<float>(sedimentation_velocity(d, rho));

	std::printf("\nBerechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n");
	std::printf("Durchmesser (in mu): %9.4f\n", static_cast<double>(d));
	std::printf("Dichte (in g/cm3)  : %9.4f\n", static_cast<double>(rho));
	std::printf("Bestzahl w         : %9.4f\n", static_cast<double>(best_number));
	std::printf("Reynoldszahl Nre   : %9.4f\n", static_cast<double>(reynolds_number));

	/*
	 * Above Nre 300 the correlation no longer holds.  Past the polynomial's
	 * maximum Nre falls below 300 again, and the velocity would be far too
	 * low; the true Nre is far above 300 there, so the same warning is due.
	 */
	if (reynolds_number > 300.0F || best_number > beard_peak_best_number) {
		std::printf("Achtung: Reynolds-Zahl > 300\n");
		std::exit(0);
	}

	/* Below w 0.003 the particle counts as not settling at all. */
	if (static_cast<double>(best_number) < 0.003)
		vs = 0.0F;
	std::printf("vs (in cm/s)       : %9.4f\n", static_cast<double>(vs));
	std::exit(0);
}
