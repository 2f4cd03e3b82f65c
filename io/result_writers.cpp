#include "io/result_writers.h"
// Placeholder until the writers land.
