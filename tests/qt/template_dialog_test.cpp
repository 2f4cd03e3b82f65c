#include "ui/qt/template_dialog.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/all_dialog_templates.h"
#include "ui/about_dialog.h"
#include "ui/dialog_templates.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/qt_dialog_host.h"
#include "ui/training_dialog.h"

namespace veltra::ui::qt {
namespace {

// Every template becomes a dialog with exactly its controls, found by id,
// each of the kind, text and place the template gives, in its tab order.
TEST(TemplateDialog, HasTheTemplatesControlsIdsTextsAndPlaces) {
    for (const DialogTemplate* tmpl : ui::testing::ALL_DIALOG_TEMPLATES) {
        SCOPED_TRACE(std::string(tmpl->name));
        TemplateDialog dialog(*tmpl, nullptr);
        const DialogUnits& units = dialog.units();
        EXPECT_EQ(dialog.windowTitle().toStdString(), tmpl->title);
        EXPECT_EQ(dialog.size(),
                  QSize(units.to_pixels_x(tmpl->rect.width), units.to_pixels_y(tmpl->rect.height)));

        int default_buttons = 0;
        for (const ControlTemplate& control : tmpl->controls) {
            if (control.id < 0) continue;
            QWidget* widget = dialog.control(control.id);
            ASSERT_NE(widget, nullptr) << control.id;
            EXPECT_EQ(widget->property(CONTROL_ID_PROPERTY).toInt(), control.id);
            EXPECT_EQ(widget->objectName(), QStringLiteral("control_%1").arg(control.id));
            if (control.kind != ControlKind::icon) {
                EXPECT_EQ(widget->geometry(), units.to_pixels(control.rect)) << control.id;
                EXPECT_EQ(dialog.item_text(control.id), control.text) << control.id;
            }
            switch (control.kind) {
                case ControlKind::edit:
                    EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr);
                    EXPECT_EQ(widget->focusPolicy(), Qt::StrongFocus);
                    break;
                case ControlKind::group_box:
                    EXPECT_NE(qobject_cast<QGroupBox*>(widget), nullptr);
                    break;
                case ControlKind::centered_static:
                    EXPECT_TRUE(qobject_cast<QLabel*>(widget)->alignment() & Qt::AlignHCenter);
                    break;
                case ControlKind::arrow_button:
                    EXPECT_FALSE(widget->focusPolicy() & Qt::TabFocus);
                    break;
                case ControlKind::default_push_button:
                    ++default_buttons;
                    EXPECT_EQ(dialog.default_button(), widget);
                    EXPECT_TRUE(qobject_cast<QPushButton*>(widget)->isDefault());
                    break;
                case ControlKind::icon:
                    EXPECT_FALSE(qobject_cast<QLabel*>(widget)->pixmap().isNull());
                    break;
                default:
                    break;
            }
        }
        EXPECT_LE(default_buttons, 1);

        // Only templates with a system menu get a close box, only a
        // maximize box gets a maximize button, and none gets a minimize one.
        EXPECT_EQ(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint),
                  (tmpl->style & STYLE_SYSTEM_MENU) != 0);
        EXPECT_EQ(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint),
                  (tmpl->style & STYLE_MAXIMIZE_BOX) != 0);
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    }
}

TEST(TemplateDialog, TabOrderIsTemplateOrderAndUnitsFollowTheFont) {
    TemplateDialog dialog(PAIRWISE, nullptr);
    dialog.show();
    std::vector<int> tab_stops;
    for (const ControlTemplate& control : PAIRWISE.controls) {
        if (dialog.control(control.id)->focusPolicy() & Qt::TabFocus) tab_stops.push_back(control.id);
    }
    ASSERT_EQ(tab_stops, (std::vector<int>{PAIRWISE_COUNT, CONTROL_OK, CONTROL_CANCEL, CONTROL_HELP}));
    std::vector<int> chain;
    QWidget* widget = dialog.control(tab_stops.front());
    for (std::size_t i = 0; i < tab_stops.size(); ++i) {
        chain.push_back(widget->property(CONTROL_ID_PROPERTY).toInt());
        do {
            widget = widget->nextInFocusChain();
        } while (!(widget->focusPolicy() & Qt::TabFocus) || widget->property(CONTROL_ID_PROPERTY).isNull());
    }
    EXPECT_EQ(chain, tab_stops);

    const DialogUnits units(dialog.font());
    EXPECT_EQ(units.to_pixels_x(4), units.average_char_width());
    EXPECT_EQ(units.to_pixels_y(8), units.char_height());
    EXPECT_EQ(units.to_pixels_x(225), 225 * units.average_char_width() / 4);
}

// Enter presses the default button from any field; Esc closes nothing.
TEST(TemplateDialog, EnterPressesTheDefaultButtonAndEscDoesNothing) {
    TemplateDialog dialog(RANDOMWEIGHTS, nullptr);
    QSignalSpy commands(&dialog, &TemplateDialog::command);
    dialog.show();
    QWidget* field = dialog.control(WEIGHTS_LOWER);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), CONTROL_OK);

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(commands.count(), 1);

    dialog.press(107);  // no such control here: nothing happens
    dialog.press(CONTROL_HELP);
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(commands.at(1).at(0).toInt(), CONTROL_HELP);

    // A window manager's close box, drawn although the dialog asks for none,
    // presses Done; the dialog itself stays until its procedure ends it.
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(commands.count(), 3);
    EXPECT_EQ(commands.at(2).at(0).toInt(), CONTROL_CANCEL);
}

// Texts that do not fit their control: a long path is elided in the middle
// with the whole path as tooltip, the SOM Monitor's inactive prototypes wrap
// until all 35 numbers show, and a message box is as wide as its caption.
TEST(TemplateDialog, TextsFitTheirControls) {
    const auto fits = [](const QLabel& label) {
        const QRect room = label.contentsRect();
        const QRect needed =
            label.fontMetrics().boundingRect(room, int(label.alignment()) | Qt::TextWordWrap, label.text());
        return needed.width() <= room.width() && needed.height() <= room.height();
    };
    const std::string folder = "/home/someone/" + std::string(12, 'x') + "/measurements/";
    for (const auto& [tmpl, file_name] :
         {std::pair{&IMPORTFILTER, IMPORT_FILE_NAME}, {&RECALL, RECALL_FILE_NAME}}) {
        SCOPED_TRACE(std::string(tmpl->name));
        TemplateDialog dialog(*tmpl, nullptr);
        dialog.show();
        auto* label = qobject_cast<QLabel*>(dialog.control(file_name));
        dialog.set_item_text(file_name, "/home/someone/short.dat");
        EXPECT_EQ(label->text(), QStringLiteral("/home/someone/short.dat"));
        EXPECT_TRUE(label->toolTip().isEmpty());
        std::string path = folder;
        for (int i = 0; i < 8; ++i) path += "a_folder_with_a_long_name/";
        path += "iris_2026.dat";
        dialog.set_item_text(file_name, path);
        EXPECT_EQ(dialog.item_text(file_name), path);
        EXPECT_TRUE(label->text().startsWith(QStringLiteral("/home/")));
        EXPECT_TRUE(label->text().endsWith(QStringLiteral("iris_2026.dat")));
        EXPECT_TRUE(label->text().contains(QChar(0x2026)));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
        EXPECT_EQ(label->toolTip().toStdString(), path);
    }

    TemplateDialog monitor(SOMINFO, nullptr);
    monitor.show();
    algorithms::EpochReport report;
    for (std::int32_t p = 2; p <= 36; ++p) report.inactive_prototypes.push_back(p);
    for (const MonitorField& field : monitor_fields(report)) monitor.set_item_text(field.id, field.text);
    auto* inactive = qobject_cast<QLabel*>(monitor.control(MONITOR_INACTIVE));
    EXPECT_TRUE(fits(*inactive)) << inactive->text().toStdString();
    EXPECT_TRUE(monitor.control(MONITOR_INACTIVE_GROUP)->geometry().contains(inactive->geometry()));
    EXPECT_TRUE(monitor.rect().contains(monitor.control(MONITOR_INACTIVE_GROUP)->geometry()));

    for (const auto& [text, caption] : {std::pair{"File written.", "Export Prototypes"},
                                        {"Can not import weights!", "Error Reading File"},
                                        {"Prototypes initialized.", "Pick Datapoints"}}) {
        SCOPED_TRACE(caption);
        const auto box = make_message_box({nullptr, text, caption, Icon::information, Buttons::ok, false});
        box->show();
        EXPECT_GE(box->width(), caption_width(*box));
        box->hide();
    }
}

// The About box comes from the same builder: version and revision filled in,
// the application icon shown, OK the only way out.
TEST(TemplateDialog, AboutBoxRunsModallyUntilOk) {
    AboutDialog about;
    MessageService messages([](const MessageBoxRequest&) { return Answer::ok; });
    QtDialogHost host(about, nullptr, messages);
    std::string version;
    std::string revision;
    bool still_open_after_esc = false;
    const int result = host.run([&](TemplateDialog& dialog) {
        version = dialog.item_text(ABOUT_VERSION);
        revision = dialog.item_text(ABOUT_REVISION);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        still_open_after_esc = dialog.isVisible() && !dialog.ended();
        QTest::keyClick(dialog.default_button(), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(version, "1.52");
    EXPECT_EQ(revision, "Win32s");
    EXPECT_TRUE(still_open_after_esc);
    EXPECT_FALSE(host.dialog().isVisible());
}

}  // namespace
}  // namespace veltra::ui::qt
