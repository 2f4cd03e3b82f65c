#pragma once

#include <QTableWidget>

#include "ui/qt/template_dialog.h"
#include "ui/table_import_dialog.h"

namespace veltra::ui::qt {

// The first rows of the table import dialog's file as a table, in the place
// of the dialog's preview control; refilled whenever the dialog's preview
// changes. Column headers carry the column's role.
class TablePreview final : public QTableWidget {
    Q_OBJECT

public:
    TablePreview(TableImportDialog& procedure, TemplateDialog& dialog);
    ~TablePreview() override;

private:
    void refill();

    TableImportDialog& procedure_;
};

}  // namespace veltra::ui::qt
