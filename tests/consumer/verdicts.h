/*
 * The report's verdict for a particle in each outcome, as every kind of the
 * library must give it: 0 where it agrees, else 1 with a line that says
 * which particle it missed.
 */
#include <stdio.h>

#include <sedimentation/sedimentation.h>

static int verdicts_agree(void)
{
	static const struct {
		float d, rho; /* um, g/cm^3 */
		enum sedimentation_verdict verdict;
	} table[] = {
		{100.0f, 1.0f, SEDIMENTATION_SETTLES},
		{3.9f, 1.0f, SEDIMENTATION_NOT_SETTLING},             /* w 0.00296 */
		{1000.0f, 2.0f, SEDIMENTATION_ABOVE_REYNOLDS_LIMIT},  /* Nre 413.8 */
		{250.0f, 811.0f, SEDIMENTATION_ABOVE_REYNOLDS_LIMIT}, /* w 6.3e5, just before the peak */
		{5500.0f, 0.25f, SEDIMENTATION_BEYOND_PEAK},          /* Nre 744.7 too */
		{5000.0f, 1.0f, SEDIMENTATION_BEYOND_PEAK},           /* Nre 268.1, below 300 again */
	};
	for (size_t i = 0; i < sizeof table / sizeof table[0]; i++) {
		const enum sedimentation_verdict v =
			sedimentation_report_verdict(sedimentation_compute(table[i].d, table[i].rho));
		if (v != table[i].verdict) {
			printf("verdict %d for %g um, %g g/cm3, not %d\n", (int)v, (double)table[i].d,
			       (double)table[i].rho, (int)table[i].verdict);
			return 1;
		}
	}
	return 0;
}
