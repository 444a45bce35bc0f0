/* The model for C++ programs written against its first release: the one
 * header serves C and C++ alike. */
#include "sedimentation/sedimentation.h"
