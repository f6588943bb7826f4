// The main of Velk's Qt tests: the offscreen platform and settings in a folder of their own are
// set before the QApplication is made, because gtest_discover_tests runs this program at build
// time without the environment the tests run in.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir config(QDir::tempPath() + "/velk-qt-test-XXXXXX");
    if (std::getenv("VELK_QT_TEST_KEEP_PLATFORM") == nullptr) {
        // One screen of 1280 by 1024, as the Xvfb of the screenshot test (offscreen's own is
        // 800 by 600, too small for the starting window).
        QFile screens(config.filePath("screens.json"));
        screens.open(QIODevice::WriteOnly);
        screens.write(R"({"screens": [{"name": "velk", "x": 0, "y": 0, "width": 1280,
                          "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.close();
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.fileName()).toLocal8Bit(), 1);
    }
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("XDG_STATE_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
