#pragma once

#include "ui/control_ids.h"
#include "ui/dialog_template.h"

namespace veltra::ui {

// The program's dialog templates, named as the program loads them. Positions
// and sizes are in dialog units; controls are in tab order.
extern const DialogTemplate IMPORTFILTER;
extern const DialogTemplate MATRIXSIZE;
extern const DialogTemplate INCIDENCE;
extern const DialogTemplate RANDOMWEIGHTS;
extern const DialogTemplate TRIALS;
extern const DialogTemplate FIXPOINT;
extern const DialogTemplate PAIRWISE;
extern const DialogTemplate SOM;
extern const DialogTemplate SOMINFO;
extern const DialogTemplate RECALL;
extern const DialogTemplate ABOUT;
extern const DialogTemplate INTRODUCTION;  // the splash window: no controls

}  // namespace veltra::ui
