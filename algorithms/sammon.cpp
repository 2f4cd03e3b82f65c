#include "algorithms/sammon.h"
