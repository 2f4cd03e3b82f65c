#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace veltra::ui::qt {

enum class FileDialogKind { open, save };

// One Open or Save choice as the program asks for it.
struct FileDialogRequest {
    QWidget* owner;
    FileDialogKind kind;
    int filter_id;
    QString folder;  // where the dialog starts
};

// Returns the chosen full path, or nullopt when cancelled. Tests replace it.
using FileChooser = std::function<std::optional<std::string>(const FileDialogRequest&)>;

// The name filters of a filter string, in order, each shown by its own
// description ("Data Files (*.dat)"); "*.*" matches every file, also names
// without a dot.
QStringList name_filters(int filter_id);

// The QFileDialog: starts in the request's folder (the home folder when it
// is gone) with an empty name and the first filter selected, adds no
// extension; Open wants an existing file, Save asks before overwriting one.
std::optional<std::string> choose_file(const FileDialogRequest& request);

}  // namespace veltra::ui::qt
