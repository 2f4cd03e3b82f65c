#pragma once

#include <array>

#include "ui/dialog_templates.h"

namespace veltra::ui::testing {

// The program's twelve dialog templates, for tests that check all of them.
inline constexpr std::array<const DialogTemplate*, 12> ALL_DIALOG_TEMPLATES = {
    &IMPORTFILTER, &MATRIXSIZE, &INCIDENCE, &RANDOMWEIGHTS, &TRIALS, &FIXPOINT,
    &PAIRWISE,     &SOM,        &SOMINFO,   &RECALL,        &ABOUT,  &INTRODUCTION};

}  // namespace veltra::ui::testing
