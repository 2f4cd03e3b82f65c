#include "ui/qt/status_box.h"

#include <QApplication>

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
    dialog_->show();
    // Let the window system map the box before the computation takes the
    // thread; input waits, so no command can start in between. Once mapped,
    // the frame is known and the box is placed by its outer size.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    place();
    dialog_->repaint();
}

void QtStatusBox::set_item_text(int id, std::string_view text) {
    dialog_->set_item_text(id, text);
    if (QWidget* field = dialog_->control(id)) field->repaint();
}

void QtStatusBox::repaint() { dialog_->repaint(); }

}  // namespace veltra::ui::qt
