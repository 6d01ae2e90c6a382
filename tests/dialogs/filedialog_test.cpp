// The file dialog behind the program's save questions.
#include "messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QtFileDialogTest, SaveLeavesTheOverwriteQuestionToTheProgram)
{
    // The backup asks "目标文件已存在，是否覆盖？" itself; the dialog must not ask first.
    bool confirms = true;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            seen = true;
            confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
            d->reject();
        }
    });
    QtFileDialog files;
    FileDialogRequest r;
    r.title = QStringLiteral("保存为");
    r.folder = QDir::tempPath();
    r.fileName = QStringLiteral("x.mdb");
    r.filter = QStringLiteral("数据文件 (*.mdb)");
    EXPECT_TRUE(files.saveFile(r).isEmpty());
    ASSERT_TRUE(seen);
    EXPECT_FALSE(confirms);
}
