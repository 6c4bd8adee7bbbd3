// QSerialPort needs an application object for its notifiers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // The controller history of every command the tests run goes here (the programs they start
    // inherit it), never into the data folder of the user who runs them.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qputenv("APPDATA", dataHome.path().toLocal8Bit());  // the same on Windows
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
