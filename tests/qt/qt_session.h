#pragma once

#include <QApplication>
#include <QLineEdit>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "tests/support/temp_directory.h"
#include "ui/qt/main_window.h"

namespace veltra::ui::qt::testing {

// The main window over its own workspace with every question answered by the
// test: message boxes are recorded and answered, file choices come from a
// queue, and each modal dialog is driven by the script registered for its
// template name.
class QtSession {
public:
    using Script = std::function<void(TemplateDialog&)>;

    QtSession();
    ~QtSession();

    veltra::testing::TempDirectory dir;  // the session's scratch folder
    core::Workspace ws;
    std::vector<MessageBoxRequest> messages;
    Answer answer = Answer::ok;  // for yes/no boxes
    std::vector<std::optional<std::string>> file_choices;
    std::vector<FileDialogRequest> file_requests;
    std::map<std::string, Script, std::less<>> scripts;
    std::vector<std::string> dialogs_shown;

    MainWindow& window() { return *window_; }
    // Runs a menu command as choosing its item would.
    void command(int id);
    // The texts of the recorded message boxes, in order.
    std::vector<std::string> message_texts() const;
    // The enabled command ids in menu order, as the menu shows them.
    std::vector<int> enabled_items() const;

private:
    std::unique_ptr<MainWindow> window_;
};

// Types into an edit control, as a user would.
void type(TemplateDialog& dialog, int id, const QString& text);

}  // namespace veltra::ui::qt::testing
