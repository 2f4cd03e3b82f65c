#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/dialog_template.h"
#include "ui/qt/dialog_units.h"

class QAbstractButton;
class QEventLoop;

namespace veltra::ui::qt {

class TemplateDialog;

// Called once a modal dialog is on screen; tests and the screenshot driver
// use it to type and press as a user would.
using DialogDriver = std::function<void(TemplateDialog&)>;

// The property under which every control keeps its template id.
inline constexpr const char* CONTROL_ID_PROPERTY = "control_id";

// A dialog window built from a template: its title, font, size in dialog
// units, frame style and controls in template (= tab) order. Every control
// with an id is found by that id and carries it as CONTROL_ID_PROPERTY and as
// objectName "control_<id>". Button presses are reported by id. Esc never
// closes it; the title bar close box exists only when the template has a
// system menu, and then reports close_requested instead of closing. A close
// request from a window manager that draws a close box anyway presses the
// dialog's Cancel or Done (or its only button).
class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    // `owner` is the main window or nullptr; the template position is taken
    // relative to the owner's client area.
    TemplateDialog(const DialogTemplate& dialog_template, QWidget* owner);

    const DialogTemplate& dialog_template() const noexcept { return template_; }
    const DialogUnits& units() const noexcept { return units_; }

    // The control with this id, or nullptr.
    QWidget* control(int id) const;
    // Text of an edit, static, group box or button; empty for an unknown id.
    std::string item_text(int id) const;
    void set_item_text(int id, std::string_view text);
    // The default push button, or nullptr.
    QAbstractButton* default_button() const noexcept { return default_button_; }

    // Presses a button by id, as a click would.
    void press(int id);

    // Shows the dialog application-modal and serves events until end_modal.
    // Unlike QDialog::exec(), hiding the dialog meanwhile does not end the run
    // (the training dialog hides while it trains). `driver`, when set, is
    // called once the run has started.
    void run_modal(const DialogDriver& driver);
    // Hides the dialog and ends the run (or the one about to start).
    void end_modal();
    bool ended() const noexcept { return ended_; }

    void reject() override;

signals:
    void command(int id);
    void close_requested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void add_control(const ControlTemplate& control);

    const DialogTemplate& template_;
    DialogUnits units_;
    std::map<int, QWidget*> controls_;
    QAbstractButton* default_button_ = nullptr;
    QEventLoop* loop_ = nullptr;
    bool ended_ = false;
};

}  // namespace veltra::ui::qt
