#include "algorithms/pairwise_exchange.h"
