// Runs the widget tests inside one QApplication. With no display it uses the offscreen
// platform, and it never touches the user's settings: HOME and the XDG folders point into
// a throw-away folder unless the caller already made them throw-away.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("PAVIX_TEST_KEEP_HOME")) {
        const QByteArray root = scratch.path().toLocal8Bit();
        qputenv("HOME", root + "/home");
        qputenv("XDG_CONFIG_HOME", root + "/config");
        qputenv("XDG_DATA_HOME", root + "/data");
        qputenv("XDG_CACHE_HOME", root + "/cache");
    }

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
