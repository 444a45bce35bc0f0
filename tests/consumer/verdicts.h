/*
 * What every kind of the library must give for the test particles
 * (tests/particles.tsv, named by the program's first argument): the
 * report's verdict, the velocity it shows, the aerodynamic diameter and
 * TA Luft's size class.
 * 0 where all agree, else 1 with a line that says which particle it
 * missed.
 */
#include <float.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <sedimentation/sedimentation.h>

/* A number of the table as absink reads it: decimal to double to float.
 * The table's largest rounds to FLT_MAX, which a cast could not be trusted
 * to give. */
static float particle_value(const char *text)
{
	const double x = strtod(text, NULL);
	return x > FLT_MAX ? FLT_MAX : (float)x;
}

/* "%.4f", or "nan" for NaN, whose printing varies with the C library. */
static void printed(char (*out)[32], float value)
{
	if (isnan(value))
		strcpy(*out, "nan");
	else
		snprintf(*out, sizeof *out, "%.4f", (double)value);
}

static int verdicts_agree(const char *table)
{
	static const char *const verdicts[] = {
		"settles", "not_settling", "above_reynolds_limit", "beyond_peak"};
	FILE *f = table ? fopen(table, "r") : NULL;
	if (f == NULL) {
		printf("no table of particles: %s\n", table ? table : "(none given)");
		return 1;
	}
	char line[512];
	int particles = 0;
	int failed = 0;
	while (fgets(line, sizeof line, f) != NULL) {
		char d[64], rho[64], w[64], nre[64], vs[64], shown[64], verdict[64], da[64];
		int size_class = -1;
		if (line[0] == '#' || sscanf(line, "%63s %63s %63s %63s %63s %63s %63s %63s %d", d, rho, w,
					     nre, vs, shown, verdict, da, &size_class) != 9)
			continue;
		particles++;
		const float diameter = particle_value(d);
		const float density = particle_value(rho);
		const struct sedimentation_result r = sedimentation_compute(diameter, density);
		char got_shown[32], got_da[32];
		printed(&got_shown, sedimentation_reported_velocity(r));
		printed(&got_da, sedimentation_aerodynamic_diameter(diameter, density));
		const enum sedimentation_verdict v = sedimentation_report_verdict(r);
		const int got_class = sedimentation_particle_size_class(diameter, density);
		if (strcmp(verdicts[v], verdict) != 0 || strcmp(got_da, da) != 0 || got_class != size_class ||
		    strcmp(got_shown, strcmp(shown, "warning") == 0 ? "nan" : shown) != 0) {
			printf("%s um, %s g/cm3: %s, vs %s, da %s, class %d; not %s, %s, %s, %d\n", d, rho,
			       verdicts[v], got_shown, got_da, got_class, verdict, shown, da, size_class);
			failed = 1;
		}
	}
	fclose(f);
	if (particles == 0) {
		printf("no particle in %s\n", table);
		return 1;
	}
	return failed;
}
