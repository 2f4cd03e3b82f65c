#include <QApplication>

#include "core/clock.h"
#include "core/workspace.h"
#include "ui/qt/main_window.h"
#include "ui/qt/resources.h"
#include "ui/qt/splash.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltra"));
    QApplication::setDesktopFileName(QStringLiteral("veltra"));
    veltra::ui::qt::init_resources();

    veltra::core::Workspace ws;
    veltra::ui::qt::show_splash(veltra::core::system_clock());
    int status = 0;
    {
        veltra::ui::qt::MainWindow window(ws);
        window.show();
        status = QApplication::exec();
    }
    ws.release_all();
    return status;
}
