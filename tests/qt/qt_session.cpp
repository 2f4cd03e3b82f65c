#include "qt_session.h"

#include <QAction>

namespace veltra::ui::qt::testing {

QtSession::QtSession() {
    QtHostHooks hooks;
    hooks.message_box = [this](const MessageBoxRequest& request) {
        messages.push_back(request);
        return request.buttons == Buttons::yes_no ? answer : Answer::ok;
    };
    hooks.choose_file = [this](const FileDialogRequest& request) -> std::optional<std::string> {
        file_requests.push_back(request);
        if (file_choices.empty()) return std::nullopt;
        std::optional<std::string> choice = file_choices.front();
        file_choices.erase(file_choices.begin());
        return choice;
    };
    hooks.drive_dialog = [this](TemplateDialog& dialog) {
        const std::string name(dialog.dialog_template().name);
        dialogs_shown.push_back(name);
        const auto it = scripts.find(name);
        if (it != scripts.end()) it->second(dialog);
    };
    window_ = std::make_unique<MainWindow>(ws, std::move(hooks));
    window_->show();
}

QtSession::~QtSession() {
    window_.reset();
    ws.release_all();
}

void QtSession::command(int id) {
    QAction* item = window_->action(id);
    if (item != nullptr && item->isEnabled()) item->trigger();
}

std::vector<std::string> QtSession::message_texts() const {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& request : messages) texts.push_back(request.text.toStdString());
    return texts;
}

std::vector<int> QtSession::enabled_items() const {
    std::vector<int> ids;
    for (const int id : core::ALL_COMMANDS) {
        const QAction* item = window_->action(id);
        if (item != nullptr && item->isEnabled()) ids.push_back(id);
    }
    return ids;
}

void type(TemplateDialog& dialog, int id, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(dialog.control(id))) edit->setText(text);
}

}  // namespace veltra::ui::qt::testing
