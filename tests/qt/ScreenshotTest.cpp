// Under a real X server (Xvfb): the program's client area on screen is, pixel for pixel, what
// `velk --render` paints into a file for the same world. Run by CTest through xvfb-run with a
// 24-bit screen; elsewhere it skips.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "QtAppHarness.h"

namespace {

std::string worldPath;
std::string velkProgram;
std::string shotFolder;

TEST(ScreenshotTest, ClientAreaOnScreenMatchesTheRenderedFile) {
    if (QGuiApplication::platformName() != "xcb") {
        GTEST_SKIP() << "needs an X server (run through xvfb-run); the platform is "
                     << QGuiApplication::platformName().toStdString();
    }
    if (QGuiApplication::primaryScreen()->depth() < 24) {
        GTEST_SKIP() << "needs a screen of 24 bits or more; start Xvfb with -screen 0 "
                        "1280x1024x24";
    }
    QTemporaryDir scratch;
    QString rendered = scratch.filePath("render.png");
    QProcess render;
    render.start(QString::fromStdString(velkProgram),
                 {"--render", QString::fromStdString(worldPath), "-o", rendered});
    ASSERT_TRUE(render.waitForFinished(30000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    QImage expected = QImage(rendered).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull());

    qt_test::ScriptedDialogs dialogs;
    qt_test::VelkRun run(dialogs);
    ASSERT_TRUE(run.Start({worldPath}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.Window()));
    QWidget& viewport = run.Viewport();
    // Let the window system settle: the frame's final size, then the paints it causes.
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(50);
    }
    const QPoint origin = viewport.mapToGlobal(QPoint(0, 0));
    const QSize size = viewport.size();
    ASSERT_FALSE(size.isEmpty());
    QScreen* screen = run.Window().screen();
    QImage shot = screen->grabWindow(0, origin.x(), origin.y(), size.width(), size.height())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32);
    QImage whole = screen->grabWindow(0).toImage();
    if (!shotFolder.empty()) {
        whole.save(QString::fromStdString(shotFolder + "/velk-screenshot.png"));
        shot.save(QString::fromStdString(shotFolder + "/velk-screenshot-client.png"));
    }

    ASSERT_EQ(shot.size(), size);
    ASSERT_LE(size.width(), expected.width());
    ASSERT_LE(size.height(), expected.height());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if ((shot.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF)) {
                if (differing++ == 0) {
                    first = QPoint(x, y);
                }
            }
        }
    }
    EXPECT_EQ(differing, 0) << "first at (" << first.x() << ", " << first.y() << "): screen "
                            << std::hex << shot.pixel(first) << ", file " << expected.pixel(first);
}

}  // namespace

// Under xcb, Qt's accessibility and input-method plumbing talks to D-Bus, whose library keeps a
// buffer until the process ends; the leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WORLD VELK [SHOT_FOLDER]\n", argv[0]);
        return 2;
    }
    worldPath = argv[1];
    velkProgram = argv[2];
    shotFolder = argc > 3 ? argv[3] : "";
    QTemporaryDir config(QDir::tempPath() + "/velk-shot-XXXXXX");
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("XDG_STATE_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", config.path().toLocal8Bit().constData(), 1);
    unsetenv("QT_QPA_PLATFORM");  // the real X server, not the offscreen test platform
    QApplication application(argc, argv);
    int status = RUN_ALL_TESTS();
    // CTest counts 77 as skipped (SKIP_RETURN_CODE), so a skip shows as one.
    return status == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? 77
                                                                                       : status;
}
