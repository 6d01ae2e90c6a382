// The keys of the program's own dialogs, and that they stay within the
// dialog: a message box or another window opened over it keeps its own keys.
#include "dialogkeys.h"

#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
struct KeyDialog {
    QDialog dialog;
    QLineEdit* first = new QLineEdit(&dialog);
    QLineEdit* second = new QLineEdit(&dialog);
    QPushButton* ok = new QPushButton(QStringLiteral("确定"), &dialog);
    int clicks = 0;
    KeyDialog()
    {
        auto* l = new QVBoxLayout(&dialog);
        l->addWidget(first);
        l->addWidget(second);
        l->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++clicks; });
        DialogKeys::install(&dialog, ok);
        dialog.show();
        dialog.activateWindow();
        first->setFocus();
    }
};
} // namespace

TEST(DialogKeys, EnterPressesOkEscCancelsArrowsMoveTheFocus)
{
    KeyDialog k;
    QTest::keyClick(k.first, Qt::Key_Right);
    EXPECT_EQ(k.dialog.focusWidget(), k.second);
    QTest::keyClick(k.second, Qt::Key_Left);
    EXPECT_EQ(k.dialog.focusWidget(), k.first);
    QTest::keyClick(k.first, Qt::Key_Return);
    EXPECT_EQ(k.clicks, 1);
    QTest::keyClick(k.first, Qt::Key_Escape);
    EXPECT_FALSE(k.dialog.isVisible());
    EXPECT_EQ(k.dialog.result(), QDialog::Rejected);
}

TEST(DialogKeys, AMessageBoxOverTheDialogKeepsItsOwnKeys)
{
    KeyDialog k;
    // Message boxes are owned by the window that shows them.
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("text"),
                                QMessageBox::Ok, &k.dialog);
    box->open();
    QAbstractButton* boxOk = box->button(QMessageBox::Ok);
    ASSERT_NE(boxOk, nullptr);
    boxOk->setFocus();

    QTest::keyClick(boxOk, Qt::Key_Escape);
    EXPECT_TRUE(k.dialog.isVisible()); // the dialog under the box is not cancelled
    box->open();
    QTest::keyClick(boxOk, Qt::Key_Return);
    EXPECT_EQ(k.clicks, 0); // nor is its OK pressed again
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(k.dialog.isVisible());
    delete box;
}
