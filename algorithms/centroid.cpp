#include "algorithms/centroid.h"
