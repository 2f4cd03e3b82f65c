#pragma once

#include <memory>

#include "ui/host.h"
#include "ui/qt/template_dialog.h"

namespace veltra::ui::qt {

// A modeless status box (Fixpoint box, SOM Monitor) built from its template.
// The computations that feed it run on this thread without serving events,
// so every value field paints itself at once when its text is set.
class QtStatusBox final : public StatusBox {
public:
    // Shows the box at `placement` over `owner` and paints it.
    QtStatusBox(const DialogTemplate& box, Placement placement, QWidget* owner);

    void set_item_text(int id, std::string_view text) override;
    void repaint() override;

    TemplateDialog& dialog() noexcept { return *dialog_; }

private:
    std::unique_ptr<TemplateDialog> dialog_;
};

}  // namespace veltra::ui::qt
