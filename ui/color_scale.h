#pragma once

#include "ui/display_list.h"

namespace veltra::ui {

// The colour scale of every shaded view: perceptually uniform and readable
// by colour-blind eyes, from dark violet (0) over blue and green to yellow (1).
// Positions outside [0, 1] are clamped; a position that is not a number gets
// the colour of 0.
Color scale_color(double position);

// Where `value` lies between `min` and `max` (0..1): 0.5 when the range is
// empty or has no width; values beyond either end and infinite ones are
// clamped. Finite for any input.
double scale_position(double value, double min, double max);

// Black or white, whichever contrasts more with `background`.
Color text_color_on(Color background);

// The fill of a cell that has no value on the scale (an inactive prototype).
inline constexpr Color NO_VALUE_GRAY{215, 215, 215};

}  // namespace veltra::ui
