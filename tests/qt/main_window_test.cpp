#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include "qt_session.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/qt/help_window.h"
#include "ui/qt/status_box.h"

namespace veltra::ui::qt::testing {
namespace {

using core::CMD_ABOUT, core::CMD_CONVERGE, core::CMD_EXPORT_MEAN_VALUES, core::CMD_EXPORT_PROTOTYPES,
    core::CMD_EXPORT_VIOLATIONS, core::CMD_HELP_CONTENTS, core::CMD_IMPORT_DATAVECTORS,
    core::CMD_IMPORT_PROTOTYPES, core::CMD_MAP_SHOW, core::CMD_MAP_SIZE, core::CMD_PAIRWISE_EXCHANGE,
    core::CMD_PICK_DATAPOINTS, core::CMD_QUIT, core::CMD_RANDOM_WEIGHTS, core::CMD_RECALL_ASSIGNMENT,
    core::CMD_RECALL_FREQUENCY, core::CMD_SAMMON_VISUALIZATION, core::CMD_SOM_TRAINING;

// Calls back whenever a widget paints itself.
class PaintWatcher final : public QObject {
public:
    PaintWatcher(QWidget* widget, std::function<void(QWidget*)> on_paint)
        : widget_(widget), on_paint_(std::move(on_paint)) {
        widget_->installEventFilter(this);
    }
    ~PaintWatcher() override { widget_->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint) on_paint_(widget_);
        return false;
    }

private:
    QWidget* widget_;
    std::function<void(QWidget*)> on_paint_;
};

const std::vector<int> ALWAYS = {CMD_IMPORT_DATAVECTORS, CMD_QUIT, CMD_HELP_CONTENTS, CMD_ABOUT};

std::vector<int> with_always(std::vector<int> ids) {
    ids.insert(ids.end(), ALWAYS.begin(), ALWAYS.end());
    std::vector<int> ordered;
    for (const int id : core::ALL_COMMANDS) {
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) ordered.push_back(id);
    }
    return ordered;
}

// The menu has every command under its popup, with the item texts as listed,
// and Help last.
TEST(MainWindow, MenuIsBuiltFromTheMenuData) {
    QtSession session;
    MainWindow& window = session.window();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Veltra V 1.52 for Windows"));
    EXPECT_FALSE(window.windowIcon().isNull());

    QStringList titles;
    for (QAction* popup : window.menuBar()->actions()) {
        if (!popup->isSeparator()) titles << popup->text();
    }
    EXPECT_TRUE(window.menuBar()->actions().at(5)->isSeparator());
    EXPECT_EQ(titles, (QStringList{"&File", "&Map", "&Prototypes", "&SOM", "&View", "&Help"}));
    for (const int id : core::ALL_COMMANDS) EXPECT_NE(window.action(id), nullptr) << id;
    EXPECT_EQ(window.action(CMD_PICK_DATAPOINTS)->text(), QStringLiteral("Pick &datapoints at random"));
    EXPECT_EQ(window.action(CMD_MAP_SIZE)->text(), QStringLiteral("Si&ze"));
    EXPECT_TRUE(window.action(CMD_SAMMON_VISUALIZATION)->isCheckable());
    EXPECT_FALSE(window.action(CMD_SOM_TRAINING)->isCheckable());
    EXPECT_EQ(session.enabled_items(), ALWAYS);
}

// The whole road through the Qt host, dialogs driven as a user would and
// every message box answered: after each step the menu shows exactly what
// the availability state allows.
TEST(MainWindow, MenuMirrorsAvailabilityAlongTheRoad) {
    QtSession session;
    const auto mirrors = [&session] {
        for (const int id : core::ALL_COMMANDS) {
            EXPECT_EQ(session.window().action(id)->isEnabled(), session.ws.availability.is_enabled(id)) << id;
        }
        EXPECT_EQ(session.window().action(CMD_SAMMON_VISUALIZATION)->isChecked(),
                  session.ws.availability.is_visualization_on());
    };

    session.file_choices = {session.dir.write("data.dat", veltra::testing::TWELVE_BY_TWO)};
    session.scripts["IMPORTFILTER"] = [](TemplateDialog& dialog) {
        EXPECT_NE(dialog.item_text(IMPORT_FILE_NAME), "None");
        type(dialog, IMPORT_NDATA, "12");
        type(dialog, IMPORT_NVARS, "2");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_IMPORT_DATAVECTORS);
    mirrors();
    EXPECT_EQ(session.enabled_items(), with_always({CMD_MAP_SIZE}));
    ASSERT_EQ(session.file_requests.size(), 1U);
    EXPECT_EQ(session.file_requests[0].kind, FileDialogKind::open);
    EXPECT_EQ(session.file_requests[0].filter_id, 0);

    session.scripts["MATRIXSIZE"] = [](TemplateDialog& dialog) {
        type(dialog, MAP_ROWS, "2");
        type(dialog, MAP_COLS, "3");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_MAP_SIZE);
    mirrors();
    EXPECT_EQ(session.enabled_items(), with_always({CMD_IMPORT_PROTOTYPES, CMD_MAP_SIZE, CMD_MAP_SHOW,
                                                    CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS}));

    session.scripts["RANDOMWEIGHTS"] = [](TemplateDialog& dialog) {
        type(dialog, WEIGHTS_UPPER, "6");
        type(dialog, WEIGHTS_LOWER, "0");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_RANDOM_WEIGHTS);
    mirrors();
    const std::vector<int> initialized = {
        CMD_IMPORT_PROTOTYPES,    CMD_EXPORT_PROTOTYPES, CMD_MAP_SIZE, CMD_MAP_SHOW,
        CMD_RANDOM_WEIGHTS,       CMD_PICK_DATAPOINTS,   CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE,
        CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING};
    EXPECT_EQ(session.enabled_items(), with_always(initialized));

    session.command(CMD_SAMMON_VISUALIZATION);
    mirrors();
    EXPECT_TRUE(session.window().action(CMD_SAMMON_VISUALIZATION)->isChecked());

    bool hidden_while_training = false;
    session.scripts["SOM"] = [&session, &hidden_while_training](TemplateDialog& dialog) {
        type(dialog, SOM_EPOCHS, "3");
        type(dialog, SOM_ORDER, "1");
        // The message at the end of the run comes with the dialog back on screen.
        MessageBoxFunction& hook = session.window().host().hooks().message_box;
        const MessageBoxFunction recording = hook;
        hook = [&](const MessageBoxRequest& request) {
            hidden_while_training = !dialog.isVisible();
            return recording(request);
        };
        dialog.press(CONTROL_OK);
        hook = recording;
        dialog.press(CONTROL_CANCEL);
    };
    session.command(CMD_SOM_TRAINING);
    mirrors();
    EXPECT_FALSE(hidden_while_training);
    EXPECT_EQ(session.message_texts().back(), "SOM training done.");
    std::vector<int> trained = initialized;
    trained.insert(trained.end(), {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY,
                                   CMD_RECALL_ASSIGNMENT});
    EXPECT_EQ(session.enabled_items(), with_always(trained));
    EXPECT_TRUE(session.window().action(CMD_SAMMON_VISUALIZATION)->isChecked());

    // Recall and export choose their file through the Save dialog.
    session.file_choices = {session.dir.path("counts.frq"), session.dir.path("prototypes.wgt")};
    session.scripts["RECALL"] = [](TemplateDialog& dialog) {
        EXPECT_NE(dialog.item_text(RECALL_FILE_NAME), "None");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_RECALL_FREQUENCY);
    session.command(CMD_EXPORT_PROTOTYPES);
    mirrors();
    ASSERT_EQ(session.file_requests.size(), 3U);
    EXPECT_EQ(session.file_requests[1].kind, FileDialogKind::save);
    EXPECT_EQ(session.file_requests[1].filter_id, 5);
    EXPECT_EQ(session.file_requests[2].kind, FileDialogKind::save);
    EXPECT_EQ(session.file_requests[2].filter_id, 2);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(session.dir.path("counts.frq"))));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(session.dir.path("prototypes.wgt"))));

    session.scripts["PAIRWISE"] = [](TemplateDialog& dialog) {
        type(dialog, PAIRWISE_COUNT, "5");
        dialog.press(CONTROL_OK);
        EXPECT_EQ(dialog.item_text(PAIRWISE_TOTAL), "5");
        dialog.press(CONTROL_CANCEL);
    };
    session.command(CMD_PAIRWISE_EXCHANGE);
    mirrors();
    EXPECT_EQ(session.enabled_items(), with_always(initialized));
    EXPECT_FALSE(session.window().action(CMD_SAMMON_VISUALIZATION)->isChecked());

    EXPECT_EQ(session.dialogs_shown, (std::vector<std::string>{"IMPORTFILTER", "MATRIXSIZE", "RANDOMWEIGHTS",
                                                               "SOM", "RECALL", "PAIRWISE"}));
    EXPECT_EQ(
        session.message_texts(),
        (std::vector<std::string>{"Data file read.", "Incidence matrix defined.", "Prototypes initialized.",
                                  "SOM training done.", "Frequency file written.", "File written.",
                                  "Pairwise exchange done."}));
}

// Cancelling the file choice ends the import dialog before it is shown, and
// the commands stay grayed.
TEST(MainWindow, CancelledFileChoiceNeverShowsTheDialog) {
    QtSession session;
    session.command(CMD_IMPORT_DATAVECTORS);
    EXPECT_TRUE(session.dialogs_shown.empty());
    EXPECT_EQ(session.enabled_items(), ALWAYS);
    EXPECT_TRUE(session.messages.empty());
}

// Invalid input: the dialog stays open with the exact message, caption and
// icon, preceded by a beep; the status box of a training run sits at the
// bottom-right corner and shows the last epoch.
TEST(MainWindow, MessagesAndStatusBoxThroughTheQtHost) {
    QtSession session;
    session.file_choices = {session.dir.write("data.dat", veltra::testing::TWELVE_BY_TWO)};
    session.scripts["IMPORTFILTER"] = [&session](TemplateDialog& dialog) {
        type(dialog, IMPORT_NDATA, "0");
        dialog.press(CONTROL_OK);
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(session.messages.size(), 1U);
        EXPECT_EQ(session.messages[0].owner, &dialog);
        type(dialog, IMPORT_NDATA, "12");
        type(dialog, IMPORT_NVARS, "2");
        dialog.press(CONTROL_OK);
    };
    const int beeps = session.window().host().messages().beeps();
    session.command(CMD_IMPORT_DATAVECTORS);
    ASSERT_EQ(session.messages.size(), 2U);
    EXPECT_EQ(session.messages[0].text, QStringLiteral("# of datavectors must be in the range [1,32767]!"));
    EXPECT_EQ(session.messages[0].caption, QStringLiteral("Invalid Input"));
    EXPECT_EQ(session.messages[0].icon, Icon::exclamation);
    EXPECT_EQ(session.messages[1].icon, Icon::information);
    EXPECT_EQ(session.window().host().messages().beeps(), beeps + 1);

    session.scripts["MATRIXSIZE"] = [](TemplateDialog& dialog) {
        type(dialog, MAP_ROWS, "1");
        type(dialog, MAP_COLS, "1");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_MAP_SIZE);
    session.scripts["RANDOMWEIGHTS"] = [](TemplateDialog& dialog) {
        type(dialog, WEIGHTS_UPPER, "1");
        dialog.press(CONTROL_OK);
    };
    session.command(CMD_RANDOM_WEIGHTS);

    QRect monitor;
    std::string epochs;
    std::vector<QString> painted_epochs;
    session.scripts["SOM"] = [&](TemplateDialog& dialog) {
        TemplateDialog* box = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* candidate = qobject_cast<TemplateDialog*>(top);
            if (candidate != nullptr && candidate->isVisible() &&
                candidate->dialog_template().name == "SOMINFO") {
                box = candidate;
            }
        }
        ASSERT_NE(box, nullptr);
        // Each epoch's value is painted at once, while the dialog is hidden.
        PaintWatcher watcher(box->control(MONITOR_EPOCHS), [&](QWidget* field) {
            if (!dialog.isVisible()) painted_epochs.push_back(static_cast<QLabel*>(field)->text());
        });
        type(dialog, SOM_EPOCHS, "2");
        type(dialog, SOM_ORDER, "0");
        dialog.press(CONTROL_OK);
        monitor = box->frameGeometry();
        epochs = box->item_text(MONITOR_EPOCHS);
        dialog.press(CONTROL_CANCEL);
    };
    session.command(CMD_SOM_TRAINING);
    EXPECT_EQ(epochs, "2");
    // The monitor is repainted once as the run starts, then at every epoch.
    EXPECT_EQ(painted_epochs, (std::vector<QString>{"", "1", "2"}));
    const QRect area = session.window().screen()->availableGeometry();
    EXPECT_EQ(monitor.right() + 1, area.right() + 1 - 20);
    EXPECT_EQ(monitor.bottom() + 1, area.bottom() + 1 - 20);
}

// File dialogs start in the home folder, then in the folder of the file
// chosen last in this run; a cancelled choice changes nothing.
TEST(MainWindow, FileDialogsStartInTheFolderUsedLast) {
    QtSession session;
    session.file_choices = {std::nullopt, session.dir.write("data.dat", veltra::testing::TWELVE_BY_TWO),
                            std::nullopt};
    session.scripts["IMPORTFILTER"] = [](TemplateDialog& dialog) { dialog.press(CONTROL_CANCEL); };
    for (int i = 0; i < 3; ++i) session.command(CMD_IMPORT_DATAVECTORS);
    ASSERT_EQ(session.file_requests.size(), 3U);
    EXPECT_EQ(session.file_requests[0].folder, QDir::homePath());
    EXPECT_EQ(session.file_requests[1].folder, QDir::homePath());
    EXPECT_EQ(session.file_requests[2].folder,
              QFileInfo(QString::fromStdString(session.dir.path("data.dat"))).absolutePath());
}

// Quit, the title bar's close and Alt+F4 ask first; No keeps the program,
// Yes closes the main window.
TEST(MainWindow, QuitAsksAndClosesOnlyOnYes) {
    QtSession session;
    session.answer = Answer::no;
    session.command(CMD_QUIT);
    ASSERT_EQ(session.messages.size(), 1U);
    const MessageBoxRequest& question = session.messages[0];
    EXPECT_EQ(question.text, QStringLiteral("Do you really want to quit?"));
    EXPECT_EQ(question.caption, QStringLiteral("Leave Program"));
    EXPECT_EQ(question.icon, Icon::question);
    EXPECT_EQ(question.buttons, Buttons::yes_no);
    EXPECT_TRUE(question.default_no);
    QApplication::processEvents();
    EXPECT_TRUE(session.window().isVisible());

    EXPECT_FALSE(session.window().close());
    EXPECT_EQ(session.messages.size(), 2U);
    EXPECT_TRUE(session.window().isVisible());

    session.answer = Answer::yes;
    session.window().close();
    EXPECT_EQ(session.messages.size(), 3U);
    QApplication::processEvents();
    EXPECT_FALSE(session.window().isVisible());
}

// F1 in the main window and Help, Contents open the contents; a dialog's
// Help button opens its topic.
TEST(MainWindow, HelpOpensTheContentsAndTheDialogTopics) {
    QtSession session;
    session.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&session.window()));
    QTest::keyClick(&session.window(), Qt::Key_F1);
    HelpWindow* help = session.window().host().help_window();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->current_topic(), help_topic_url(""));
    EXPECT_TRUE(help->isVisible());
    help->close();

    session.command(CMD_HELP_CONTENTS);
    help = session.window().host().help_window();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->current_topic(), QUrl("qrc:/help/contents.html"));

    session.file_choices = {session.dir.write("data.dat", veltra::testing::TWELVE_BY_TWO)};
    QUrl topic;
    session.scripts["IMPORTFILTER"] = [&session, &topic](TemplateDialog& dialog) {
        dialog.press(CONTROL_HELP);
        topic = session.window().host().help_window()->current_topic();
        // F1 inside a dialog is no help key.
        QTest::keyClick(&dialog, Qt::Key_F1);
        EXPECT_EQ(session.window().host().help_window()->current_topic(), topic);
        dialog.press(CONTROL_CANCEL);
    };
    session.command(CMD_IMPORT_DATAVECTORS);
    EXPECT_EQ(topic, QUrl("qrc:/help/import_datavectors.html"));
}

// Every keyword the dialogs use has its own topic inside the program.
TEST(MainWindow, EveryHelpKeywordHasATopic) {
    const char* keywords[] = {"import datavectors", "size map",      "random weights",   "pick datapoints",
                              "pairwise exchange",  "SOM training",  "recall frequency", "recall assignment",
                              "import table",       "hit map",       "u-matrix",         "component planes",
                              "label map",          "measures chart"};
    QStringList files;
    for (const char* keyword : keywords) {
        const QUrl url = help_topic_url(keyword);
        EXPECT_NE(url, help_topic_url("")) << keyword;
        QFile topic(QLatin1Char(':') + url.path());
        ASSERT_TRUE(topic.open(QIODevice::ReadOnly)) << keyword;
        EXPECT_TRUE(topic.readAll().contains("<h1>")) << keyword;
        files << url.path();
    }
    files.removeDuplicates();
    EXPECT_EQ(files.size(), 14);
    QFile contents(QStringLiteral(":/help/contents.html"));
    ASSERT_TRUE(contents.open(QIODevice::ReadOnly));
    const QByteArray text = contents.readAll();
    for (const QString& file : files)
        EXPECT_TRUE(text.contains(file.section('/', -1).toUtf8())) << file.toStdString();
}

}  // namespace
}  // namespace veltra::ui::qt::testing
