/*
 * A program with globals of its own named best_number and reynolds_number
 * (globals.c), linked with the static library: calling only
 * sedimentation_compute must not pull in the library's globals of the
 * same names.
 */
#include <stdio.h>

#include <sedimentation/sedimentation.h>

#include "verdicts.h"

int own_globals_intact(void);

int main(int argc, char **argv)
{
	const float particle[2][2] = {{100.0f, 1.0f}, {100.0f, 2.65f}}; /* um, g/cm^3 */
	for (int i = 0; i < 2; i++) {
		struct sedimentation_result r = sedimentation_compute(particle[i][0], particle[i][1]);
		printf("%.4f %.4f %.4f %.4f\n", r.best_number, r.reynolds_number, r.velocity,
		       sedimentation_aerodynamic_diameter(particle[i][0], particle[i][1]));
	}
	return own_globals_intact() && verdicts_agree(argc > 1 ? argv[1] : NULL) == 0 ? 0 : 1;
}
