#include "algorithms/recall.h"
