/*
 * The floor for the Python module's speed: sedimentation_compute in a plain
 * C loop over 10^6 particles, log-uniform in d (0.1 um to 10 mm) and rho
 * (0.1 to 10 g/cm^3), and the same with the report's verdict on each.
 * Prints the best of five runs of each in ns per element.
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "sedimentation/sedimentation.h"

enum { n = 1000000 };

static float d[n], rho[n], vs[n];
static signed char verdict[n];

static double now(void)
{
	struct timespec t;
	clock_gettime(CLOCK_MONOTONIC, &t);
	return (double)t.tv_sec * 1e9 + (double)t.tv_nsec;
}

int main(void)
{
	srand(1976);
	for (int i = 0; i < n; i++) {
		d[i] = (float)exp(log(0.1) + (log(1e4) - log(0.1)) * rand() / RAND_MAX);
		rho[i] = (float)exp(log(0.1) + (log(10.0) - log(0.1)) * rand() / RAND_MAX);
	}
	double best = INFINITY, with_verdict = INFINITY;
	for (int run = 0; run < 5; run++) {
		double start = now();
		for (int i = 0; i < n; i++)
			vs[i] = sedimentation_compute(d[i], rho[i]).velocity;
		double t = (now() - start) / n;
		best = t < best ? t : best;
		start = now();
		for (int i = 0; i < n; i++)
			verdict[i] = (signed char)sedimentation_report_verdict(
				sedimentation_compute(d[i], rho[i]));
		t = (now() - start) / n;
		with_verdict = t < with_verdict ? t : with_verdict;
	}
	/* The results are read, so that no compiler drops the loops. */
	double sum = 0;
	for (int i = 0; i < n; i++)
		sum += vs[i] + verdict[i];
	printf("%.2f %.2f %g\n", best, with_verdict, sum);
	return 0;
}
