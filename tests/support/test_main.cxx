#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs with a QApplication (widgets on the offscreen platform) and a
// private QUORVAN_HOME, so no test reaches the user's real settings, registry or database.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home(QDir::tempPath() + "/quorvan-test-XXXXXX");
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
