#include "algorithms/som_training.h"
