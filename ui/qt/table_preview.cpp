#include "ui/qt/table_preview.h"

#include <QHeaderView>

#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

TablePreview::TablePreview(TableImportDialog& procedure, TemplateDialog& dialog)
    : QTableWidget(&dialog), procedure_(procedure) {
    setObjectName(QStringLiteral("table_preview"));
    if (QWidget* place = dialog.control(TABLE_PREVIEW)) {
        setGeometry(place->geometry());
        place->hide();
    }
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    procedure_.set_preview_observer([this] { refill(); });
    refill();
}

TablePreview::~TablePreview() { procedure_.set_preview_observer({}); }

void TablePreview::refill() {
    const auto& headers = procedure_.preview_headers();
    const auto& rows = procedure_.preview_rows();
    clear();
    setColumnCount(static_cast<int>(headers.size()));
    setRowCount(static_cast<int>(rows.size()));
    QStringList labels;
    for (const std::string& header : headers) labels << to_qstring(header);
    setHorizontalHeaderLabels(labels);
    for (int r = 0; r < rowCount(); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount() && c < static_cast<int>(row.size()); ++c)
            setItem(r, c, new QTableWidgetItem(to_qstring(row[static_cast<std::size_t>(c)])));
    }
    resizeColumnsToContents();
}

}  // namespace veltra::ui::qt
