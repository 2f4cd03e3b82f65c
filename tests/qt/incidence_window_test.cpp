#include "ui/qt/incidence_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "core/map_shape.h"
#include "qt_session.h"
#include "tests/support/workspace_setup.h"
#include "ui/dialog_templates.h"

namespace veltra::ui::qt::testing {
namespace {

// Command 22 through the Qt host: the window sits at its template place,
// keeps its scroll ranges from the map, ignores Enter and Esc and ends only
// through its Close.
TEST(IncidenceWindow, RangesPageStepsAndClosingFor2x3And6x6) {
    struct Case {
        int rows, cols, max_row, max_column;
    };
    for (const Case c : {Case{2, 3, 5, 16}, Case{6, 6, 35, 106}}) {
        SCOPED_TRACE(c.rows * c.cols);
        QtSession session;
        core::Workspace& ws = session.ws;
        veltra::testing::prepare_map(ws, session.dir, veltra::testing::TWELVE_BY_TWO, 12, 2, c.rows, c.cols);

        bool ran = false;
        session.scripts["INCIDENCE"] = [&](TemplateDialog& dialog) {
            ran = true;
            auto& window = static_cast<IncidenceWindow&>(dialog);
            QScrollBar* vertical = window.scroll_bar(ScrollBar::vertical);
            QScrollBar* horizontal = window.scroll_bar(ScrollBar::horizontal);
            EXPECT_EQ(vertical->minimum(), 0);
            EXPECT_EQ(vertical->maximum(), c.max_row);
            EXPECT_EQ(horizontal->maximum(), c.max_column);
            EXPECT_EQ(vertical->pageStep(), 2);
            EXPECT_EQ(horizontal->pageStep(), 2);
            EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
            EXPECT_EQ(window.line_height(), QFontMetrics(window.font()).height());
            // At its template's place over the client area, not centred.
            const QPoint client = session.window().canvas().mapToGlobal(QPoint(0, 0));
            EXPECT_EQ(window.pos(), client + window.units().to_pixels(INCIDENCE.rect).topLeft());

            // Page down to the last row and past it; page up back to the top.
            vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
            vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
            EXPECT_EQ(window.viewer().first_visible_row(), std::min(4, c.max_row));
            for (int i = 0; i < 20; ++i) vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
            EXPECT_EQ(window.viewer().first_visible_row(), c.max_row);
            EXPECT_EQ(vertical->value(), c.max_row);
            vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            EXPECT_EQ(window.viewer().first_visible_row(), c.max_row);
            horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
            horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
            EXPECT_EQ(window.viewer().first_visible_column(), 0);
            horizontal->setSliderPosition(c.max_column);  // the thumb dragged to the end
            EXPECT_EQ(window.viewer().first_visible_column(), c.max_column);
            EXPECT_EQ(window.viewer().visible_line(0).size(), 1U);
            window.grab();  // paints from the first visible row and column

            QTest::keyClick(&window, Qt::Key_Return);
            QTest::keyClick(&window, Qt::Key_Escape);
            EXPECT_TRUE(window.isVisible());
            window.close();
        };
        session.command(core::CMD_MAP_SHOW);
        EXPECT_TRUE(ran);
        EXPECT_EQ(session.dialogs_shown, std::vector<std::string>{"INCIDENCE"});
    }
}

// The wheel and the arrow, page, Home and End keys move the table through
// the viewer's own rules, and the scroll boxes follow.
TEST(IncidenceWindow, WheelAndKeysScrollThroughTheViewer) {
    QtSession session;
    core::Workspace& ws = session.ws;
    veltra::testing::prepare_map(ws, session.dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 6, 6);

    bool ran = false;
    session.scripts["INCIDENCE"] = [&](TemplateDialog& dialog) {
        ran = true;
        auto& window = static_cast<IncidenceWindow&>(dialog);
        const IncidenceViewer& viewer = window.viewer();
        const auto at = [&](int row, int column) {
            EXPECT_EQ(viewer.first_visible_row(), row);
            EXPECT_EQ(viewer.first_visible_column(), column);
            EXPECT_EQ(window.scroll_bar(ScrollBar::vertical)->value(), row);
            EXPECT_EQ(window.scroll_bar(ScrollBar::horizontal)->value(), column);
        };
        const std::pair<Qt::Key, std::pair<int, int>> keys[] = {
            {Qt::Key_Down, {1, 0}},  {Qt::Key_PageDown, {3, 0}}, {Qt::Key_End, {35, 0}},
            {Qt::Key_Down, {35, 0}}, {Qt::Key_PageUp, {33, 0}},  {Qt::Key_Home, {0, 0}},
            {Qt::Key_Up, {0, 0}},    {Qt::Key_Right, {0, 1}},    {Qt::Key_Left, {0, 0}},
        };
        for (const auto& [key, position] : keys) {
            SCOPED_TRACE(QKeySequence(key).toString().toStdString());
            QTest::keyClick(&window, key);
            at(position.first, position.second);
        }

        const int lines = QApplication::wheelScrollLines();
        const auto turn = [](QWidget* target, QPoint angle) {
            QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), angle,
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
        };
        QWidget* table = window.findChild<QWidget*>(QStringLiteral("incidence_table"));
        ASSERT_NE(table, nullptr);
        turn(table, QPoint(0, -120));  // one notch down
        at(lines, 0);
        turn(table, QPoint(0, -60));  // half notches add up
        turn(table, QPoint(0, -60));
        at(2 * lines, 0);
        turn(window.scroll_bar(ScrollBar::vertical), QPoint(0, 120 * 20));
        at(0, 0);
        turn(window.scroll_bar(ScrollBar::horizontal), QPoint(0, -120));
        at(0, lines);
        turn(table, QPoint(120, 0));  // sideways
        at(0, 0);
        window.close();
    };
    session.command(core::CMD_MAP_SHOW);
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace veltra::ui::qt::testing
