#include <gtest/gtest.h>

#include <QAction>
#include <QTableWidget>

#include "qt_session.h"
#include "ui/table_import_dialog.h"

namespace veltra::ui::qt::testing {
namespace {

QStringList headers(const QTableWidget& table) {
    QStringList texts;
    for (int c = 0; c < table.columnCount(); ++c) texts << table.horizontalHeaderItem(c)->text();
    return texts;
}

// The table import dialog shows the file's first rows with the column roles,
// follows the settings on Update, and imports on OK.
TEST(TablePreview, ShowsTheFirstRowsAndFollowsTheSettings) {
    QtSession session;
    EXPECT_TRUE(session.window().action(core::CMD_IMPORT_TABLE)->isEnabled());
    EXPECT_FALSE(session.window().action(core::CMD_EXPORT_TABLE)->isEnabled());
    session.file_choices = {session.dir.write("t.csv", "x,y,kind\n1,2,a\n3,4,b\n")};
    session.scripts["TABLEIMPORT"] = [](TemplateDialog& dialog) {
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("table_preview"));
        ASSERT_NE(table, nullptr);
        EXPECT_TRUE(table->isVisible());
        EXPECT_EQ(headers(*table), (QStringList{"x", "y", "kind (label)"}));
        EXPECT_EQ(table->rowCount(), 2);
        EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("b"));
        // Without a header the names are data: the read is refused, so no roles.
        type(dialog, TABLE_HEADER, "no");
        dialog.press(TABLE_UPDATE);
        EXPECT_EQ(headers(*table), (QStringList{"V1", "V2", "V3"}));
        EXPECT_EQ(table->rowCount(), 3);
        type(dialog, TABLE_HEADER, "auto");
        dialog.press(CONTROL_OK);
    };
    session.command(core::CMD_IMPORT_TABLE);
    EXPECT_EQ(session.message_texts(),
              std::vector<std::string>{"2 datavectors, 2 variables read (label column: kind)."});
    EXPECT_EQ(session.file_requests.at(0).filter_id, 7);
    EXPECT_EQ(session.ws.ndata, 2);
    EXPECT_TRUE(session.window().action(core::CMD_MAP_SIZE)->isEnabled());
}

}  // namespace
}  // namespace veltra::ui::qt::testing
