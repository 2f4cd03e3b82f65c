#include "ui/qt/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initializer in the enclosing namespace, so it
// must be used outside ours.
static void init_veltra_resources() { Q_INIT_RESOURCE(veltra); }

namespace veltra::ui::qt {

void init_resources() {
    static const bool done = [] {
        init_veltra_resources();
        return true;
    }();
    (void)done;
}

}  // namespace veltra::ui::qt
