/*
 * sedimentation_compute from several threads at once: every result must be
 * the one a single thread gets.  C11, built against the installed package
 * with pkg-config.
 */
#include <stdio.h>
#include <string.h>
#include <threads.h>

#include <sedimentation/sedimentation.h>

#include "verdicts.h"

enum { threads = 4, particles = 20000, rounds = 50 };

static struct sedimentation_result alone[particles];
static struct sedimentation_result together[threads][particles];

/* Diameters from 1 um to about 5 mm, densities from 0.5 to 8 g/cm^3. */
static float diameter(int i)
{
	return 1.0f + (float)i * 0.25f;
}

static float density(int i)
{
	return 0.5f + (float)(i % 31) * 0.25f;
}

/* Thread k starts at its own k-th of the particles, so that the threads
 * work on different particles at the same time. */
static int work(void *arg)
{
	struct sedimentation_result *out = arg;
	const int start = (int)(out - together[0]) / particles * (particles / threads);
	for (int round = 0; round < rounds; round++) {
		for (int n = 0; n < particles; n++) {
			const int i = (start + n) % particles;
			out[i] = sedimentation_compute(diameter(i), density(i));
		}
		if (memcmp(out, alone, sizeof alone) != 0)
			return 1;
	}
	return 0;
}

int main(int argc, char **argv)
{
	thrd_t t[threads];
	for (int i = 0; i < particles; i++)
		alone[i] = sedimentation_compute(diameter(i), density(i));
	for (int k = 0; k < threads; k++)
		if (thrd_create(&t[k], work, together[k]) != thrd_success)
			return 2;
	int failed = 0;
	for (int k = 0; k < threads; k++) {
		int res = 0;
		thrd_join(t[k], &res);
		failed |= res;
	}
	if (failed) {
		printf("the threads' results differ from one thread's\n");
		return 1;
	}
	printf("%d threads agree on %d particles, %d times over\n", threads, particles, rounds);
	return verdicts_agree(argc > 1 ? argv[1] : NULL);
}
