// The window's answers to the core's questions: the OK/Cancel box and the file dialogs, played
// by a user once they are up.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <functional>

#include "dialog_test_support.h"
#include "ui/qt_adapters.h"

namespace kaldor {
namespace {

// Runs `interact` on the modal dialog of type D once it is up; a dialog left open is rejected.
template <class D>
void whenUp(const std::function<void(D&)>& interact) {
    QTimer::singleShot(0, [interact] {
        D* dialog = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&dialog] {
            dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            return dialog != nullptr;
        }));
        interact(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

FileQuestion configQuestion(const QString& folder) {
    FileQuestion q;
    q.filters = {{"*.kcfg", "*.kcfg"}, {"*.mqsetD", "*.mqsetD"}};
    q.defaultExtension = "kcfg";
    q.initialFolder = folder.toStdString();
    return q;
}

TEST(QtPromptsTest, OkCancelBoxWithWarningIconAnswersTheButtonPressed) {
    QtPrompts prompts(nullptr);
    const OkCancelBox box{"", "load to ECU", true};
    whenUp<QMessageBox>([](QMessageBox& b) {
        EXPECT_EQ(b.text(), QStringLiteral("load to ECU"));
        EXPECT_EQ(b.icon(), QMessageBox::Warning);
        b.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(prompts.askOkCancel(box), Answer::Ok);
    // Escape closes the box: the same as Cancel.
    whenUp<QMessageBox>([](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); });
    EXPECT_EQ(prompts.askOkCancel(box), Answer::Cancel);
}

TEST(QtPromptsTest, SaveDialogStartsInTheFolderAndCompletesABareName) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtPrompts prompts(nullptr);
    FileQuestion q = configQuestion(folder.path());
    q.filters.pop_back();
    whenUp<QFileDialog>([&folder](QFileDialog& d) {
        EXPECT_EQ(d.directory().absolutePath(), QDir(folder.path()).absolutePath());
        EXPECT_EQ(d.nameFilters(), QStringList{"*.kcfg"});
        d.selectFile(QStringLiteral("car"));
        static_cast<QDialog&>(d).accept();  // the dialog's own check of the name runs
    });
    const std::optional<FileAnswer> answer = prompts.askSaveFile(q);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->path, folder.filePath(QStringLiteral("car.kcfg")).toStdString());
    EXPECT_EQ(answer->filterIndex, 0);

    whenUp<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(prompts.askSaveFile(q).has_value());
}

// The open dialog takes a name that does not exist (the load then reports it) and tells which
// filter was chosen.
TEST(QtPromptsTest, OpenDialogAnswersTheChosenFilter) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtPrompts prompts(nullptr);
    whenUp<QFileDialog>([](QFileDialog& d) {
        d.selectNameFilter(QStringLiteral("*.mqsetD"));
        d.selectFile(QStringLiteral("old.mqsetD"));
        static_cast<QDialog&>(d).accept();  // the dialog's own check of the name runs
    });
    const std::optional<FileAnswer> answer = prompts.askOpenFile(configQuestion(folder.path()));
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->path, folder.filePath(QStringLiteral("old.mqsetD")).toStdString());
    EXPECT_EQ(answer->filterIndex, 1);
}

}  // namespace
}  // namespace kaldor
