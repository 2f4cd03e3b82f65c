#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/resources.h"

int main(int argc, char* argv[]) {
    // No test opens a window on a real screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    veltra::ui::qt::init_resources();
    return RUN_ALL_TESTS();
}
