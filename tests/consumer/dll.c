/*
 * The model as a Windows DLL, from C: w, Nre and vs of each particle through
 * sedimentation_velocity and the two variables that it sets, which a
 * program must import from the DLL as the header declares them under
 * SEDIMENTATION_SHARED.  They must agree with sedimentation_compute.  With
 * the aerodynamic diameter; and the test particles' verdicts.
 */
#include <stdio.h>

#include <sedimentation/sedimentation.h>

#include "verdicts.h"

int main(int argc, char **argv)
{
	const float particle[2][2] = {{100.0f, 1.0f}, {100.0f, 2.65f}}; /* um, g/cm^3 */
	for (int i = 0; i < 2; i++) {
		const float vs = (float)sedimentation_velocity(particle[i][0], particle[i][1]);
		const struct sedimentation_result r = sedimentation_compute(particle[i][0], particle[i][1]);
		if (r.best_number != best_number || r.reynolds_number != reynolds_number ||
		    r.velocity != vs) {
			printf("sedimentation_compute and sedimentation_velocity differ\n");
			return 1;
		}
		printf("%.4f %.4f %.4f %.4f\n", best_number, reynolds_number, vs,
		       sedimentation_aerodynamic_diameter(particle[i][0], particle[i][1]));
	}
	return verdicts_agree(argc > 1 ? argv[1] : NULL);
}
