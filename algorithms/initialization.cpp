#include "algorithms/initialization.h"
