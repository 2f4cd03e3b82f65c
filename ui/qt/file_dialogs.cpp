#include "ui/qt/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "ui/file_filters.h"
#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

QStringList name_filters(int filter_id) {
    QStringList filters;
    for (const FileFilter& filter : file_filters(filter_id)) {
        QStringList patterns = to_qstring(filter.pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        // The dialog hides this trailing group and matches by it, so the
        // description is shown exactly as written.
        filters << to_qstring(filter.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

std::optional<std::string> choose_file(const FileDialogRequest& request) {
    QFileDialog dialog(request.owner);
    const QDir folder(request.folder);
    dialog.setDirectory(!request.folder.isEmpty() && folder.exists() ? folder : QDir::home());
    dialog.setNameFilters(name_filters(request.filter_id));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (request.kind == FileDialogKind::open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace veltra::ui::qt
