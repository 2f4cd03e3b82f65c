#include "ui/qt/template_dialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

#include "ui/control_ids.h"
#include "ui/qt/artwork.h"
#include "ui/qt/elided_label.h"
#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

namespace {

Qt::WindowFlags window_flags(std::uint32_t style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (style & STYLE_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & STYLE_SYSTEM_MENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & STYLE_MAXIMIZE_BOX) flags |= Qt::WindowMaximizeButtonHint;
    if (!(style & STYLE_CAPTION)) flags |= Qt::FramelessWindowHint;
    return flags;
}

// The icon control shows the icon at its own size, whatever the template says.
constexpr int ICON_SIZE = 32;

// A text control at least this high (dialog units) holds more than one line.
constexpr int TWO_LINES = 16;

// The button that leaves a dialog: Cancel or Done, or the only button (the
// About box's OK); -1 when there is none (the status boxes).
int leaving_button(const DialogTemplate& dialog_template) {
    int buttons = 0;
    int only = -1;
    for (const ControlTemplate& control : dialog_template.controls) {
        if (control.kind != ControlKind::push_button && control.kind != ControlKind::default_push_button)
            continue;
        if (control.id == CONTROL_CANCEL) return CONTROL_CANCEL;
        ++buttons;
        only = control.id;
    }
    return buttons == 1 ? only : -1;
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialog_template, QWidget* owner)
    : QDialog(owner, window_flags(dialog_template.style)),
      template_(dialog_template),
      units_(dialog_font(dialog_template.font_name, dialog_template.font_points)) {
    setFont(dialog_font(template_.font_name, template_.font_points));
    setWindowTitle(to_qstring(template_.title));
    setSizeGripEnabled(false);

    const QRect rect = units_.to_pixels(template_.rect);
    if (template_.style & STYLE_SIZING_BORDER) {
        resize(rect.size());
    } else {
        setFixedSize(rect.size());
    }
    QPoint origin;
    if (owner != nullptr) {
        const QWidget* client = owner;
        if (const auto* main = qobject_cast<QMainWindow*>(owner); main != nullptr && main->centralWidget()) {
            client = main->centralWidget();
        }
        origin = client->mapToGlobal(QPoint(0, 0));
    }
    move(origin + rect.topLeft());

    for (const ControlTemplate& control : template_.controls) add_control(control);
}

void TemplateDialog::add_control(const ControlTemplate& control) {
    const QString text = to_qstring(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::group_box: {
            auto* box = new QGroupBox(text, this);
            box->setFocusPolicy(Qt::NoFocus);
            widget = box;
            break;
        }
        case ControlKind::static_text:
        case ControlKind::centered_static: {
            const bool one_line = control.rect.height < TWO_LINES;
            // A one-line text (a file path) that does not fit is elided, not
            // cut; the value fields wrap when they are made taller.
            QLabel* label = nullptr;
            if (control.kind == ControlKind::static_text && one_line) {
                label = new ElidedLabel(text, this);
            } else {
                label = new QLabel(this);
                label->setTextFormat(Qt::PlainText);
                label->setText(text);
                label->setWordWrap(!one_line || control.kind == ControlKind::static_text);
            }
            label->setAlignment(
                Qt::AlignTop |
                (control.kind == ControlKind::centered_static ? Qt::AlignHCenter : Qt::AlignLeft));
            widget = label;
            break;
        }
        case ControlKind::edit: {
            auto* edit = new QLineEdit(text, this);
            edit->setFrame(true);
            widget = edit;
            break;
        }
        case ControlKind::push_button:
        case ControlKind::arrow_button:
        case ControlKind::default_push_button: {
            auto* button = new QPushButton(text, this);
            // Enter always presses the dialog's default button, whichever
            // button has the focus.
            button->setAutoDefault(false);
            if (control.kind == ControlKind::default_push_button) {
                button->setDefault(true);
                default_button_ = button;
            }
            button->setFocusPolicy(control.kind == ControlKind::arrow_button ? Qt::ClickFocus
                                                                             : Qt::StrongFocus);
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] { emit command(id); });
            widget = button;
            break;
        }
        case ControlKind::icon: {
            auto* label = new QLabel(this);
            label->setPixmap(application_icon().pixmap(ICON_SIZE, ICON_SIZE));
            widget = label;
            break;
        }
    }
    QRect geometry = units_.to_pixels(control.rect);
    if (control.kind == ControlKind::icon) geometry.setSize(QSize(ICON_SIZE, ICON_SIZE));
    widget->setGeometry(geometry);
    if (control.id >= 0) {
        widget->setProperty(CONTROL_ID_PROPERTY, control.id);
        widget->setObjectName(QStringLiteral("control_%1").arg(control.id));
        controls_[control.id] = widget;
    }
}

QWidget* TemplateDialog::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

std::string TemplateDialog::item_text(int id) const {
    QWidget* widget = control(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        text = edit->text();
    } else if (auto* elided = qobject_cast<ElidedLabel*>(widget)) {
        text = elided->full_text();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        text = box->title();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
    }
    return text.toStdString();
}

void TemplateDialog::set_item_text(int id, std::string_view text) {
    QWidget* widget = control(id);
    const QString value = to_qstring(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* elided = qobject_cast<ElidedLabel*>(widget)) {
        elided->set_full_text(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    }
}

void TemplateDialog::press(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) button->click();
}

void TemplateDialog::run_modal(const DialogDriver& driver) {
    if (ended_) return;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    loop_ = &loop;
    if (driver) QTimer::singleShot(0, this, [this, driver] { driver(*this); });
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
    hide();
}

void TemplateDialog::end_modal() {
    ended_ = true;
    hide();
    if (loop_ != nullptr) loop_->quit();
}

// No dialog of the program ends on Esc: Cancel and Done are ordinary buttons.
void TemplateDialog::reject() {}

// Without a system menu the dialog asks for no close box, but some window
// managers draw one on every caption; there it does what the user means and
// presses the button that leaves the dialog.
void TemplateDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (template_.style & STYLE_SYSTEM_MENU) {
        emit close_requested();
    } else if (const int id = leaving_button(template_); id >= 0 && isVisible()) {
        press(id);
    }
}

}  // namespace veltra::ui::qt
