#include "ui/qt/status_box.h"

#include "ui/qt/live_painting.h"
#include "ui/qt/placement.h"

namespace veltra::ui::qt {

QtStatusBox::QtStatusBox(const DialogTemplate& box, Placement placement, QWidget* owner)
    : dialog_(std::make_unique<TemplateDialog>(box, owner)) {
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setAttribute(Qt::WA_ShowWithoutActivating);
    const auto place = [&] {
        if (placement == Placement::bottom_right) {
            place_bottom_right(*dialog_);
        } else {
            center_on_screen(*dialog_);
        }
    };
    place();
    // The box must be on screen, drawn whole, before the computation takes
    // the thread. Once the window manager has framed it, the frame is known
    // and the box is placed again by its outer size.
    show_now(*dialog_);
    place();
    paint_now(*dialog_);
}

void QtStatusBox::set_item_text(int id, std::string_view text) {
    dialog_->set_item_text(id, text);
    if (QWidget* field = dialog_->control(id)) paint_now(*field);
}

void QtStatusBox::repaint() { paint_now(*dialog_); }

}  // namespace veltra::ui::qt
