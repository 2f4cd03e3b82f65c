// Drives the desktop program through a session on a data file, every dialog
// answered here, and saves the main window with its Sammon view:
//   veltra_screenshot DATA_FILE NDATA NVARS OUTPUT.png
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "core/clock.h"
#include "core/workspace.h"
#include "ui/control_ids.h"
#include "ui/qt/main_window.h"
#include "ui/qt/resources.h"

namespace {

using veltra::ui::qt::TemplateDialog;

void type(TemplateDialog& dialog, int id, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(dialog.control(id))) edit->setText(text);
}

// One training stage: epochs, order of neighbourhood, learning rate and
// update factor.
struct Stage {
    const char* epochs;
    const char* order;
    const char* rate;
    const char* factor;
};
constexpr Stage STAGES[] = {{"40", "3", "0.5", "0.9"}, {"40", "2", "0.2", "0.6"}, {"30", "1", "0.05", "0.4"}};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: veltra_screenshot DATA_FILE NDATA NVARS OUTPUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    veltra::ui::qt::init_resources();
    const std::string data = argv[1];
    const QString ndata = QString::fromLocal8Bit(argv[2]);
    const QString nvars = QString::fromLocal8Bit(argv[3]);

    // A fixed time makes every random start, and so the picture, the same.
    const veltra::core::FixedClock clock(1'000'000'000);
    veltra::core::Workspace ws(clock);
    veltra::ui::qt::QtHostHooks hooks;
    hooks.message_box = [](const veltra::ui::qt::MessageBoxRequest& request) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.caption), qPrintable(request.text));
        return veltra::ui::Answer::ok;
    };
    hooks.choose_file = [&data](const veltra::ui::qt::FileDialogRequest&) { return std::optional(data); };
    hooks.drive_dialog = [&](TemplateDialog& dialog) {
        const std::string_view name = dialog.dialog_template().name;
        if (name == "IMPORTFILTER") {
            type(dialog, veltra::ui::IMPORT_NDATA, ndata);
            type(dialog, veltra::ui::IMPORT_NVARS, nvars);
            dialog.press(veltra::ui::CONTROL_OK);
        } else if (name == "MATRIXSIZE") {
            type(dialog, veltra::ui::MAP_ROWS, QStringLiteral("4"));
            type(dialog, veltra::ui::MAP_COLS, QStringLiteral("4"));
            dialog.press(veltra::ui::CONTROL_OK);
        } else if (name == "TRIALS") {
            type(dialog, veltra::ui::TRIALS_COUNT, QStringLiteral("50"));
            dialog.press(veltra::ui::CONTROL_OK);
            dialog.press(veltra::ui::CONTROL_CANCEL);
        } else if (name == "SOM") {
            for (const Stage& stage : STAGES) {
                type(dialog, veltra::ui::SOM_EPOCHS, QString::fromLatin1(stage.epochs));
                type(dialog, veltra::ui::SOM_ORDER, QString::fromLatin1(stage.order));
                type(dialog, veltra::ui::SOM_RATE, QString::fromLatin1(stage.rate));
                type(dialog, veltra::ui::SOM_FACTOR, QString::fromLatin1(stage.factor));
                dialog.press(veltra::ui::CONTROL_OK);
            }
            dialog.press(veltra::ui::CONTROL_CANCEL);
        }
    };

    int status = 0;
    {
        veltra::ui::qt::MainWindow window(ws, std::move(hooks));
        window.resize(760, 560);
        window.show();
        QApplication::processEvents();
        for (const int id : {veltra::core::CMD_IMPORT_DATAVECTORS, veltra::core::CMD_MAP_SIZE,
                             veltra::core::CMD_PICK_DATAPOINTS, veltra::core::CMD_SAMMON_VISUALIZATION,
                             veltra::core::CMD_SOM_TRAINING}) {
            QAction* item = window.action(id);
            if (item == nullptr || !item->isEnabled()) {
                std::fprintf(stderr, "command %d is not available\n", id);
                return 1;
            }
            item->trigger();
        }
        QApplication::processEvents();
        if (!window.grab().save(QString::fromLocal8Bit(argv[4]))) status = 1;
    }
    ws.release_all();
    return status;
}
