// The main of every test program that needs widgets: one QApplication for all its tests, on
// the offscreen platform unless told otherwise.
#include <QApplication>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    QtApplicationEnvironment(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}
    void SetUp() override {
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        QApplication::setApplicationName(QStringLiteral("VESTRA SEQUENTIAL DIESEL"));
#ifdef _WIN32
        // The offscreen platform's font database on Windows knows only the folder
        // QT_QPA_FONTDIR names and has no default family of its own (fontconfig gives Linux
        // one): the tests draw in the family Linux defaults to, as there.
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
#endif
    }
    void TearDown() override {
        m_app.reset();
    }

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<QApplication> m_app;
};

}  // namespace

int main(int argc, char** argv) {
    // The controller history of every window the tests connect goes here, never into the data
    // folder of the user who runs them.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qputenv("APPDATA", dataHome.path().toLocal8Bit());  // the same on Windows
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
