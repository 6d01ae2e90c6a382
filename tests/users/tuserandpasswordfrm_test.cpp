// User administration and its two dialogs, driven through their controls.
#include "registry.h"
#include "tchangecharacterfrm.h"
#include "tchangepasswordfrm.h"
#include "tuserandpasswordfrm.h"
#include "usertestutil.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// The administrator, Alice (1), Bob (2, locked) and Carol (3, the default user).
class AdministrationTest : public UsersTest {
protected:
    void SetUp() override
    {
        UsersTest::SetUp();
        addAdministrator();
        addUserRow(db(), 1, QStringLiteral("Alice"), QStringLiteral("a"), false, QStringLiteral("妈妈"));
        addUserRow(db(), 2, QStringLiteral("Bob"), QStringLiteral("b"), true);
        addUserRow(db(), 3, QStringLiteral("Carol"), QStringLiteral("c"));
        for (int id : {1, 2, 3})
            addRowsEverywhere(id);
        dm->writeSetting(0, QStringLiteral("3"));
        open();
    }
    void TearDown() override
    {
        frm.reset();
        UsersTest::TearDown();
    }
    void open()
    {
        frm = std::make_unique<TUserAndPassWordFrm>(dm.get(), &msg);
        frm->show();
    }
    void pick(const QString& name)
    {
        QTreeWidgetItem* item = frm->entryOf(name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        frm->ListView1->setCurrentItem(item);
    }
    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < frm->ListView1->topLevelItemCount(); ++i)
            out << frm->ListView1->topLevelItem(i)->text(0);
        return out;
    }
    qint64 allRows()
    {
        qint64 n = 0;
        for (const QString& t : UserStore::userTables())
            n += scalar(QStringLiteral("SELECT count(*) FROM %1").arg(t));
        return n;
    }
    std::unique_ptr<TUserAndPassWordFrm> frm;
};

TEST_F(AdministrationTest, ListsEveryUserWithIconAndSelectsTheFirst)
{
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("用户和密码"));
    EXPECT_TRUE(frm->CheckBox1->isChecked());
    EXPECT_EQ(frm->ListView1->headerItem()->text(0), QStringLiteral("用户名"));
    EXPECT_EQ(frm->ListView1->headerItem()->text(1), QStringLiteral("说明"));
    EXPECT_EQ(frm->ListView1->columnWidth(0), 140);
    EXPECT_EQ(frm->ListView1->columnWidth(1), 210);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Alice"), QStringLiteral("Bob"), QStringLiteral("Carol"),
                                     QStringLiteral("管理员")}));
    EXPECT_EQ(frm->entryOf(QStringLiteral("Alice"))->text(1), QStringLiteral("妈妈"));
    EXPECT_EQ(Users::rowIcon(frm->entryOf(QStringLiteral("管理员"))), Users::UserIcon::Administrator);
    EXPECT_EQ(Users::rowIcon(frm->entryOf(QStringLiteral("Carol"))), Users::UserIcon::DefaultUser);
    EXPECT_EQ(Users::rowIcon(frm->entryOf(QStringLiteral("Bob"))), Users::UserIcon::Locked);
    EXPECT_EQ(Users::rowIcon(frm->entryOf(QStringLiteral("Alice"))), Users::UserIcon::Ordinary);
    EXPECT_EQ(frm->selectedEntry(), frm->entryOf(QStringLiteral("Alice")));
    EXPECT_EQ(frm->GroupBox1->title(), QStringLiteral("【Alice】的密码"));
    EXPECT_EQ(frm->Label3->text(), QStringLiteral("要更改【Alice】的密码，"));
    EXPECT_EQ(frm->Label5->text(), QStringLiteral("请单击<设置密码>。"));

    pick(QStringLiteral("Bob"));
    EXPECT_EQ(frm->GroupBox1->title(), QStringLiteral("【Bob】的密码"));
    EXPECT_EQ(frm->Label3->text(), QStringLiteral("要更改【Bob】的密码，"));
}

// Each refusal: which user, which button, the message; nothing changes and the window stays.
TEST_F(AdministrationTest, RefusalsLeaveEverythingAsItWas)
{
    enum Button { Delete, Properties, MakeDefault };
    struct Case {
        const char* user;
        Button button;
        const char* message;
    };
    const Case cases[] = {
        {"管理员", Delete, "管理员不允许被删除！"},
        {"Carol", Delete, "默认用户不允许被删除！"},
        {"管理员", Properties, "管理员不允许修改属性！"},
        {"管理员", MakeDefault, "管理员不允许作为默认用户！"},
        {"Bob", MakeDefault, "锁定用户不允许作为默认用户！"},
    };
    const qint64 before = allRows();
    Users::modalHook() = [](QDialog&) {
        ADD_FAILURE() << "no dialog may open";
        return int(QDialog::Rejected);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        msg.clear();
        pick(QString::fromUtf8(c.user));
        frm->CheckBox1->setChecked(c.button != MakeDefault);
        QPushButton* b = c.button == Delete ? frm->BitBtn4 : c.button == Properties ? frm->BitBtn5 : frm->BitBtn1;
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(msg.count(), 1);
        expectMessage(msg.last(), QStringLiteral("提示"), QString::fromUtf8(c.message), MsgIcon::Information);
        EXPECT_TRUE(frm->isVisible());
        EXPECT_EQ(frm->result(), QDialog::Rejected);
    }
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("3"));
    EXPECT_TRUE(Registry::installPath().isEmpty());
}

TEST_F(AdministrationTest, NothingSelected)
{
    frm->ListView1->clearSelection();
    struct Case {
        QPushButton* button;
        const char* message;
    };
    const Case cases[] = {
        {frm->BitBtn4, "请选择要删除的用户！"},
        {frm->BitBtn5, "请选择要修改的用户！"},
        {frm->BitBtn6, "请选择要设置密码的用户！"},
    };
    for (const Case& c : cases) {
        msg.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        ASSERT_EQ(msg.count(), 1);
        expectMessage(msg.last(), QStringLiteral("提示"), QString::fromUtf8(c.message), MsgIcon::Information);
    }
    // 确定 without the box and without a selection: with a default user it just closes.
    frm->CheckBox1->setChecked(false);
    msg.clear();
    QTest::mouseClick(frm->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(msg.count(), 0);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("3"));

    dm->writeSetting(0, QStringLiteral("0"));
    open();
    frm->ListView1->clearSelection();
    frm->CheckBox1->setChecked(false);
    QTest::mouseClick(frm->BitBtn1, Qt::LeftButton);
    expectMessage(msg.last(), QStringLiteral("提示"), QStringLiteral("请选择默认用户！"), MsgIcon::Information);
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(AdministrationTest, OkWithTheBoxTickedClearsTheDefaultUser)
{
    QTest::keyClick(frm->ListView1, Qt::Key_Return); // Enter presses 确定
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("0"));
    EXPECT_TRUE(Registry::installPath().isEmpty());
}

TEST_F(AdministrationTest, ChoosingTheDefaultUserStoresItAndTheInstallPath)
{
    pick(QStringLiteral("Alice"));
    frm->CheckBox1->setChecked(false);
    QTest::mouseClick(frm->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(msg.count(), 0);
    EXPECT_EQ(frm->result(), QDialog::Accepted);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("1"));
    EXPECT_EQ(Registry::installPath(), dm->programFolder());
    Registry::removeInstallPath();
}

TEST_F(AdministrationTest, CancelChangesNothing)
{
    pick(QStringLiteral("Alice"));
    frm->CheckBox1->setChecked(false);
    QTest::keyClick(frm->ListView1, Qt::Key_Escape);
    EXPECT_EQ(frm->result(), QDialog::Rejected);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("3"));
}

TEST_F(AdministrationTest, CancellingEitherDeleteQuestionKeepsTheUser)
{
    const qint64 before = allRows();
    for (int cancelAt = 0; cancelAt < 2; ++cancelAt) {
        msg.clear();
        pick(QStringLiteral("Alice"));
        if (cancelAt == 1)
            msg.answerNext(MsgAnswer::Ok);
        msg.answerNext(MsgAnswer::Cancel);
        QTest::mouseClick(frm->BitBtn4, Qt::LeftButton);
        ASSERT_EQ(msg.count(), cancelAt + 1);
        expectMessage(msg.shown[0], QStringLiteral("重要提示"), QStringLiteral("确实要删除【Alice】吗？"),
                      MsgIcon::Question);
        EXPECT_EQ(msg.shown[0].buttons, MsgButtons::OkCancel);
        if (cancelAt == 1) {
            expectMessage(msg.shown[1], QStringLiteral("警告"), QStringLiteral("该用户所有记录将被全部删除，是否继续？"),
                          MsgIcon::Warning);
            EXPECT_EQ(msg.shown[1].buttons, MsgButtons::OkCancel);
        }
        EXPECT_EQ(allRows(), before);
        EXPECT_NE(frm->entryOf(QStringLiteral("Alice")), nullptr);
    }
}

TEST_F(AdministrationTest, DeletingRemovesTheUsersRowsEverywhere)
{
    pick(QStringLiteral("Alice"));
    QTest::mouseClick(frm->BitBtn4, Qt::LeftButton);
    EXPECT_EQ(msg.count(), 2);
    for (const QString& t : UserStore::userTables()) {
        EXPECT_EQ(rowsOf(t, 1), 0) << t.toStdString();
        EXPECT_EQ(rowsOf(t, 2), 1) << t.toStdString(); // others keep theirs
    }
    EXPECT_EQ(frm->entryOf(QStringLiteral("Alice")), nullptr);
    EXPECT_EQ(frm->selectedEntry(), frm->ListView1->topLevelItem(0));

    // The last ordinary users go: the administrator stays, selected.
    dm->writeSetting(0, QStringLiteral("0"));
    for (const char* name : {"Bob", "Carol"}) {
        pick(QString::fromUtf8(name));
        QTest::mouseClick(frm->BitBtn4, Qt::LeftButton);
    }
    EXPECT_EQ(listed(), QStringList{QStringLiteral("管理员")});
    EXPECT_EQ(frm->selectedEntry(), frm->entryOf(QStringLiteral("管理员")));
    EXPECT_EQ(frm->GroupBox1->title(), QStringLiteral("【管理员】的密码"));
}

TEST_F(AdministrationTest, AFailedDeletionIsUndoneWhole)
{
    // The last of the nine statements fails: the eight before it must not stay done.
    ASSERT_TRUE(db().exec(QStringLiteral("CREATE TRIGGER keep_types BEFORE DELETE ON AC_Type "
                                         "WHEN old.UserID = 1 BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const qint64 before = allRows();
    pick(QStringLiteral("Alice"));
    QTest::mouseClick(frm->BitBtn4, Qt::LeftButton);
    ASSERT_EQ(msg.count(), 3);
    EXPECT_EQ(msg.last().title, QStringLiteral("程序错误"));
    EXPECT_TRUE(msg.last().text.startsWith(QStringLiteral("修改记录错误: {DELETE FROM AC_Type")));
    EXPECT_EQ(allRows(), before);
    for (const QString& t : UserStore::userTables())
        EXPECT_EQ(rowsOf(t, 1), 1) << t.toStdString();
    EXPECT_NE(frm->entryOf(QStringLiteral("Alice")), nullptr);
}

TEST_F(AdministrationTest, SettingAPassword)
{
    struct Case {
        const char* first;
        const char* second;
        bool accepted;
    };
    const Case cases[] = {
        {"new", "New", false},
        {"new", "", false},
        {"it's 100%", "it's 100%", true},
        {"", "", true}, // clears the password
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        msg.clear();
        pick(QStringLiteral("Alice"));
        QString title;
        int result = -1;
        Users::modalHook() = [&](QDialog& d) {
            auto* p = qobject_cast<TChangePassWordFrm*>(&d);
            EXPECT_NE(p, nullptr);
            p->show();
            title = p->windowTitle();
            EXPECT_EQ(p->Edit1->echoMode(), QLineEdit::Password);
            EXPECT_EQ(p->Edit1->maxLength(), 20);
            p->Edit1->setText(QString::fromUtf8(c.first));
            p->Edit2->setText(QString::fromUtf8(c.second));
            QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
            result = p->result();
            if (result != QDialog::Accepted)
                QTest::mouseClick(p->BitBtn2, Qt::LeftButton);
            return p->result();
        };
        const QString before = storedPassword(1);
        QTest::mouseClick(frm->BitBtn6, Qt::LeftButton);
        EXPECT_EQ(title, QStringLiteral("设置【Alice】的密码"));
        ASSERT_EQ(msg.count(), 1);
        if (c.accepted) {
            EXPECT_EQ(result, QDialog::Accepted);
            expectMessage(msg.last(), QStringLiteral("提示"), QStringLiteral("密码修改成功！"), MsgIcon::Information);
            const QString stored = storedPassword(1);
            if (QString::fromUtf8(c.first).isEmpty()) {
                EXPECT_EQ(stored, QString());
            } else {
                EXPECT_TRUE(Passwords::isHash(stored));
                EXPECT_TRUE(Passwords::verify(stored, QString::fromUtf8(c.first)));
            }
        } else {
            EXPECT_EQ(result, QDialog::Rejected);
            expectMessage(msg.last(), QStringLiteral("提示"),
                          QStringLiteral("密码不匹配！请在两个输入框内键入相同密码。"), MsgIcon::Information);
            EXPECT_EQ(storedPassword(1), before);
        }
    }
}

TEST_F(AdministrationTest, TheAdministratorsPasswordCanBeSet)
{
    pick(QStringLiteral("管理员"));
    Users::modalHook() = [&](QDialog& d) {
        auto* p = qobject_cast<TChangePassWordFrm*>(&d);
        p->show();
        p->Edit1->setText(QStringLiteral("Boss"));
        p->Edit2->setText(QStringLiteral("Boss"));
        QTest::keyClick(p->Edit2, Qt::Key_Return);
        return p->result();
    };
    QTest::mouseClick(frm->BitBtn6, Qt::LeftButton);
    EXPECT_TRUE(Passwords::verify(storedPassword(0), QStringLiteral("Boss")));
}

// The properties dialog: each case types a name (and ticks the lock) on a user.
TEST_F(AdministrationTest, PropertiesDialogRules)
{
    struct Case {
        const char* user;
        const char* newName;
        bool lock;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"Alice", "", false, "用户名不能为空！"},
        {"Alice", "Bob", false, "用户已经存在！"},
        {"Alice", "bob", false, "用户已经存在！"}, // names compare without letter case
        {"Alice", "管理员", false, "用户已经存在！"},
        {"Carol", "Carol", false, "默认用户不允许锁定！"},
        {"Alice", "Alice", false, nullptr}, // keeping one's own name is fine
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " -> " + c.newName);
        msg.clear();
        pick(QString::fromUtf8(c.user));
        Users::modalHook() = [&](QDialog& d) {
            auto* p = qobject_cast<TChangeCharacterFrm*>(&d);
            EXPECT_NE(p, nullptr);
            p->show();
            EXPECT_EQ(p->windowTitle(), QStringLiteral("用户【") + QString::fromUtf8(c.user) + QStringLiteral("】的属性"));
            EXPECT_EQ(p->Edit1->text(), QString::fromUtf8(c.user));
            p->Edit1->setText(QString::fromUtf8(c.newName));
            p->LockCheckBox->setChecked(c.lock);
            QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
            const int r = p->result();
            if (r != QDialog::Accepted)
                QTest::mouseClick(p->BitBtn2, Qt::LeftButton);
            return r;
        };
        QTest::mouseClick(frm->BitBtn5, Qt::LeftButton);
        if (c.message) {
            ASSERT_EQ(msg.count(), 1);
            expectMessage(msg.last(), QStringLiteral("提示"), QString::fromUtf8(c.message), MsgIcon::Information);
        } else {
            EXPECT_EQ(msg.count(), 0);
        }
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_User WHERE UserName = 'Alice' AND UserID = 1")), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_User")), 4);
}

TEST_F(AdministrationTest, PropertiesChangeNameDescriptionAndLock)
{
    pick(QStringLiteral("Alice"));
    Users::modalHook() = [&](QDialog& d) {
        auto* p = qobject_cast<TChangeCharacterFrm*>(&d);
        p->show();
        EXPECT_EQ(p->Edit3->text(), QStringLiteral("妈妈"));
        EXPECT_FALSE(p->LockCheckBox->isChecked());
        EXPECT_EQ(p->Edit1->maxLength(), 20);
        EXPECT_EQ(p->Edit3->maxLength(), 250);
        p->Edit1->setText(QStringLiteral("O'Brien"));
        p->Edit3->setText(QStringLiteral("50% 'off' _x_"));
        p->LockCheckBox->setChecked(true);
        QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
        return p->result();
    };
    const QPoint at = frm->ListView1->visualItemRect(frm->entryOf(QStringLiteral("Alice"))).center();
    QTest::mouseClick(frm->ListView1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(frm->ListView1->viewport(), Qt::LeftButton, {}, at); // double-click acts as 属性
    EXPECT_EQ(msg.count(), 0);
    const QueryResult r = select(QStringLiteral("SELECT * FROM AC_User WHERE UserID = 1"));
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, QStringLiteral("UserName")), QStringLiteral("O'Brien"));
    EXPECT_EQ(r.text(0, QStringLiteral("Description")), QStringLiteral("50% 'off' _x_"));
    EXPECT_EQ(r.integer(0, QStringLiteral("LockFlag")), 1);
    QTreeWidgetItem* item = frm->entryOf(QStringLiteral("O'Brien"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(1), QStringLiteral("50% 'off' _x_"));
    EXPECT_EQ(Users::rowIcon(item), Users::UserIcon::Locked);
    EXPECT_EQ(frm->entryOf(QStringLiteral("Alice")), nullptr);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Bob"), QStringLiteral("Carol"), QStringLiteral("O'Brien"),
                                     QStringLiteral("管理员")}));

    // Unlocking gives the ordinary icon back; the locked user then may be the default.
    pick(QStringLiteral("O'Brien"));
    Users::modalHook() = [&](QDialog& d) {
        auto* p = qobject_cast<TChangeCharacterFrm*>(&d);
        p->show();
        EXPECT_TRUE(p->LockCheckBox->isChecked());
        p->LockCheckBox->setChecked(false);
        QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
        return p->result();
    };
    QTest::mouseClick(frm->BitBtn5, Qt::LeftButton);
    EXPECT_EQ(Users::rowIcon(frm->entryOf(QStringLiteral("O'Brien"))), Users::UserIcon::Ordinary);
    EXPECT_EQ(scalar(QStringLiteral("SELECT LockFlag FROM AC_User WHERE UserID = 1")), 0);
}

TEST_F(AdministrationTest, ClearingTheDefaultUserMakesItsPropertiesEditable)
{
    QTest::mouseClick(frm->BitBtn1, Qt::LeftButton); // ticked box: default user cleared
    open();
    pick(QStringLiteral("Carol"));
    Users::modalHook() = [&](QDialog& d) {
        auto* p = qobject_cast<TChangeCharacterFrm*>(&d);
        p->show();
        p->LockCheckBox->setChecked(true);
        QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
        return p->result();
    };
    QTest::mouseClick(frm->BitBtn5, Qt::LeftButton);
    EXPECT_EQ(msg.count(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT LockFlag FROM AC_User WHERE UserID = 3")), 1);
}

} // namespace
