/* Globals of the program's own, of other types than the model's results of
 * the same names; this file does not include the model's header. */
#include <string.h>

int best_number = 42;
const char *reynolds_number = "own";

int own_globals_intact(void)
{
	return best_number == 42 && strcmp(reynolds_number, "own") == 0;
}
