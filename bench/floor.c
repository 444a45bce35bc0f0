/*
 * The floor of a run's cost: a static C program that prints the report of
 * "absink 100 1" with printf and computes nothing.
 */
#include <stdio.h>

int main(void)
{
	printf("\nBerechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):\n");
	printf("Durchmesser (in mu): %9.4f\n", 100.0);
	printf("Dichte (in g/cm3)  : %9.4f\n", 1.0);
	printf("Bestzahl w         : %9.4f\n", 49.91);
	printf("Reynoldszahl Nre   : %9.4f\n", 1.7225);
	printf("vs (in cm/s)       : %9.4f\n", 25.1831);
	return 0;
}
