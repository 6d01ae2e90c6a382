// The sign-in window driven through its real controls.
#include "tinputpasswordfrm.h"
#include "tloginfrm.h"
#include "tuserandpasswordfrm.h"
#include "tuserguidefrm.h"
#include "usertestutil.h"
#include "registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QStringList names(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

class LoginTest : public UsersTest {
protected:
    void SetUp() override
    {
        UsersTest::SetUp();
        login = std::make_unique<TLoginFrm>(dm.get(), &msg);
    }
    void TearDown() override
    {
        login.reset();
        UsersTest::TearDown();
    }
    // Chooses a name and a password and presses 确定.
    void signIn(const QString& name, const QString& password)
    {
        login->ComboBox1->setCurrentIndex(login->ComboBox1->findText(name));
        login->MaskEdit1->setText(password);
        QTest::mouseClick(login->BitBtn1, Qt::LeftButton);
    }
    std::unique_ptr<TLoginFrm> login;
};

TEST_F(LoginTest, WindowAsBuilt)
{
    login->show();
    EXPECT_EQ(login->windowTitle(), QStringLiteral("Zelko家庭理财 V2.8"));
    EXPECT_FALSE(login->ComboBox1->isEditable());
    EXPECT_EQ(login->MaskEdit1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(login->MaskEdit1->maxLength(), 20);
    EXPECT_EQ(login->BitBtn1->text(), QStringLiteral("确定"));
    EXPECT_EQ(login->BitBtn2->text(), QStringLiteral("取消"));
    EXPECT_EQ(login->BitBtn3->text(), QStringLiteral("用户管理"));
    EXPECT_EQ(login->minimumSize(), login->maximumSize()); // fixed size
}

TEST_F(LoginTest, EmptyUserTableRefusesOkAndUserManagementOpensWithoutPassword)
{
    login->show();
    EXPECT_EQ(login->ComboBox1->count(), 0);
    QTest::mouseClick(login->BitBtn1, Qt::LeftButton);
    ASSERT_EQ(msg.count(), 1);
    expectMessage(msg.last(), QStringLiteral("提示"), QStringLiteral("用户名不能为空，请重新输入！"), MsgIcon::Information);
    EXPECT_EQ(login->result(), QDialog::Rejected);
    EXPECT_TRUE(login->isVisible());

    // Twice: the first press creates the administrator, the second finds it;
    // with its empty password neither asks for one.
    for (int round = 0; round < 2; ++round) {
        QStringList opened;
        Users::modalHook() = [&](QDialog& d) {
            opened << QString::fromLatin1(d.metaObject()->className());
            return int(QDialog::Rejected);
        };
        QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
        EXPECT_EQ(opened, QStringList{QStringLiteral("TUserAndPassWordFrm")}) << round;
    }
    const QueryResult admin = select(QStringLiteral("SELECT * FROM AC_User"));
    ASSERT_EQ(admin.size(), 1);
    EXPECT_EQ(admin.integer(0, QStringLiteral("UserID")), 0);
    EXPECT_EQ(admin.text(0, QStringLiteral("UserName")), QStringLiteral("管理员"));
    EXPECT_EQ(admin.text(0, QStringLiteral("PassWd")), QString());
    EXPECT_EQ(admin.text(0, QStringLiteral("Description")), QStringLiteral("只能设置和管理其它用户，不能记帐"));
    EXPECT_EQ(admin.integer(0, QStringLiteral("LockFlag")), 0);
    EXPECT_EQ(msg.count(), 1);
    EXPECT_TRUE(login->isVisible());
}

TEST_F(LoginTest, AdministratorPasswordGuardsUserManagement)
{
    addAdministrator(QStringLiteral("Boss"));
    login->show();
    int administrationOpened = 0;
    QString promptTitle;
    QStringList typed{QStringLiteral("boss"), QStringLiteral("Boss")};
    bool cancelPrompt = true;
    Users::modalHook() = [&](QDialog& d) {
        if (auto* p = qobject_cast<TInputPassWordFrm*>(&d)) {
            p->show();
            promptTitle = p->windowTitle();
            for (const QString& t : typed) {
                p->MaskEdit1->setText(t);
                QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
                if (p->result() == QDialog::Accepted)
                    break;
            }
            if (cancelPrompt && p->result() != QDialog::Accepted)
                QTest::keyClick(p->MaskEdit1, Qt::Key_Escape);
            return p->result();
        }
        ++administrationOpened;
        return int(QDialog::Rejected);
    };

    typed = {QStringLiteral("boss")}; // wrong letter case, then Esc
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(promptTitle, QStringLiteral("输入【管理员】的密码"));
    ASSERT_EQ(msg.count(), 1);
    expectMessage(msg.last(), QStringLiteral("错误"), QStringLiteral("密码错误，请重新输入！"), MsgIcon::Critical);
    EXPECT_EQ(administrationOpened, 0);

    typed = {QStringLiteral("Boss")};
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(administrationOpened, 1);
    EXPECT_EQ(msg.count(), 1);
}

// A user made through administration and the wizard, then signing in.
TEST_F(LoginTest, UserAddedThroughTheWizardSignsIn)
{
    login->show();
    Users::modalHook() = [&](QDialog& d) {
        if (auto* w = qobject_cast<TUserGuideFrm*>(&d)) {
            w->show();
            w->Edit1->setText(QStringLiteral("Alice"));
            w->Edit2->setText(QStringLiteral("家里的会计"));
            QTest::mouseClick(w->Button2, Qt::LeftButton);
            w->Edit1->setText(QStringLiteral("Secret"));
            w->Edit2->setText(QStringLiteral("Secret"));
            QTest::mouseClick(w->Button2, Qt::LeftButton);
            return w->result();
        }
        auto* a = qobject_cast<TUserAndPassWordFrm*>(&d);
        EXPECT_NE(a, nullptr);
        a->show();
        QTest::mouseClick(a->BitBtn3, Qt::LeftButton);
        EXPECT_NE(a->entryOf(QStringLiteral("Alice")), nullptr);
        QTest::mouseClick(a->BitBtn2, Qt::LeftButton); // 取消: the user stays added
        return a->result();
    };
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    login->refillUserList(); // what the window's re-activation does
    EXPECT_EQ(names(login->ComboBox1), QStringList{QStringLiteral("Alice")});
    EXPECT_EQ(rowsOf(QStringLiteral("AC_Type"), 1), 34);
    EXPECT_EQ(rowsOf(QStringLiteral("AC_Plan"), 1), 2);

    for (const QString& wrong : {QStringLiteral("secret"), QStringLiteral("SECRET"), QString()}) {
        signIn(QStringLiteral("Alice"), wrong);
        expectMessage(msg.last(), QStringLiteral("错误"), QStringLiteral("密码错误，请重新输入！"), MsgIcon::Critical);
        EXPECT_EQ(login->result(), QDialog::Rejected);
        EXPECT_EQ(login->MaskEdit1->text(), wrong); // the field keeps its text
    }
    EXPECT_EQ(dm->currentUser, QStringLiteral("0"));
    signIn(QStringLiteral("Alice"), QStringLiteral("Secret"));
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_EQ(dm->currentUser, QStringLiteral("1"));
}

TEST_F(LoginTest, PasswordsCompareExactly)
{
    struct Case {
        const char* stored;
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {
        {"Secret", "Secret", true}, {"Secret", "secret", false}, {"Secret", "Secret ", false},
        {"", "", true},             {"", "x", false},            {"密码ä", "密码ä", true},
        {"p'w%_", "p'w%_", true},
    };
    int id = 1;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("user%1").arg(id);
        addUserRow(db(), id, name, QString::fromUtf8(c.stored));
        login->refillUserList();
        msg.clear();
        dm->currentUser = QStringLiteral("0");
        login->setResult(QDialog::Rejected);
        signIn(name, QString::fromUtf8(c.typed));
        SCOPED_TRACE(std::string(c.stored) + " / " + c.typed);
        EXPECT_EQ(login->result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(dm->currentUser, c.accepted ? QString::number(id) : QStringLiteral("0"));
        EXPECT_EQ(msg.count(), c.accepted ? 0 : 1);
        ++id;
    }
}

TEST_F(LoginTest, OlderPlainTextPasswordIsStoredHashedOnSignIn)
{
    db().exec(QStringLiteral("INSERT INTO AC_User VALUES (1, 'Old', 'Plain1', '', 0)"));
    login->show();
    signIn(QStringLiteral("Old"), QStringLiteral("plain1"));
    EXPECT_EQ(login->result(), QDialog::Rejected);
    EXPECT_EQ(storedPassword(1), QStringLiteral("Plain1")); // a refusal changes nothing

    signIn(QStringLiteral("Old"), QStringLiteral("Plain1"));
    EXPECT_EQ(login->result(), QDialog::Accepted);
    const QString stored = storedPassword(1);
    EXPECT_TRUE(Passwords::isHash(stored));
    EXPECT_TRUE(Passwords::verify(stored, QStringLiteral("Plain1")));
    EXPECT_FALSE(Passwords::verify(stored, QStringLiteral("plain1")));
}

TEST_F(LoginTest, OlderPlainTextAdministratorPasswordIsStoredHashedByThePrompt)
{
    db().exec(QStringLiteral("INSERT INTO AC_User VALUES (0, '管理员', 'Root', '', 0)"));
    login->show();
    Users::modalHook() = [&](QDialog& d) {
        if (auto* p = qobject_cast<TInputPassWordFrm*>(&d)) {
            p->show();
            p->MaskEdit1->setText(QStringLiteral("Root"));
            QTest::keyClick(p->MaskEdit1, Qt::Key_Return); // Enter presses 确定
            return p->result();
        }
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_TRUE(Passwords::isHash(storedPassword(0)));
    EXPECT_TRUE(Passwords::verify(storedPassword(0), QStringLiteral("Root")));
}

TEST_F(LoginTest, ListOffersUnlockedUsersByNameAndPreselectsTheLastOne)
{
    addAdministrator();
    addUserRow(db(), 1, QStringLiteral("Zoe"), QString());
    addUserRow(db(), 2, QStringLiteral("amy"), QString());
    addUserRow(db(), 3, QStringLiteral("Locked"), QString(), true);
    addUserRow(db(), 4, QStringLiteral("Bob"), QString());

    struct Case {
        const char* setting3;
        const char* selected;
    };
    const Case cases[] = {{"4", "Bob"}, {"1", "Zoe"}, {"3", "amy"} /* locked */, {"9", "amy"} /* deleted */,
                          {"0", "amy"}};
    for (const Case& c : cases) {
        dm->writeSetting(3, QString::fromLatin1(c.setting3));
        login->refillUserList();
        SCOPED_TRACE(c.setting3);
        EXPECT_EQ(names(login->ComboBox1),
                  (QStringList{QStringLiteral("amy"), QStringLiteral("Bob"), QStringLiteral("Zoe")}));
        EXPECT_EQ(login->ComboBox1->currentText(), QString::fromLatin1(c.selected));
    }
}

TEST_F(LoginTest, SpaceStepsThroughNamesAndArrowsMoveTheFocus)
{
    addUserRow(db(), 1, QStringLiteral("A"), QString());
    addUserRow(db(), 2, QStringLiteral("B"), QString());
    addUserRow(db(), 3, QStringLiteral("C"), QString());
    showActive(login.get());
    EXPECT_EQ(login->focusWidget(), login->MaskEdit1); // activation focuses the password
    login->ComboBox1->setFocus();
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(login->ComboBox1, Qt::Key_Space);
        seen << login->ComboBox1->currentText();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));

    QTest::keyClick(login->ComboBox1, Qt::Key_Right);
    EXPECT_EQ(login->ComboBox1->currentText(), QStringLiteral("B"));
    EXPECT_EQ(login->focusWidget(), login->MaskEdit1);
    login->MaskEdit1->setText(QStringLiteral("xy"));
    QTest::keyClick(login->MaskEdit1, Qt::Key_Right);
    EXPECT_EQ(login->focusWidget(), login->BitBtn1);
    QTest::keyClick(login->BitBtn1, Qt::Key_Left);
    QTest::keyClick(login->MaskEdit1, Qt::Key_Left);
    EXPECT_EQ(login->focusWidget(), login->ComboBox1);
    QTest::keyClick(login->ComboBox1, Qt::Key_Left);
    EXPECT_EQ(login->ComboBox1->currentText(), QStringLiteral("B"));
}

TEST_F(LoginTest, EnterSignsInAndEscCancels)
{
    addUserRow(db(), 1, QStringLiteral("A"), QStringLiteral("pw"));
    login->show();
    login->MaskEdit1->setText(QStringLiteral("pw"));
    QTest::keyClick(login->MaskEdit1, Qt::Key_Return);
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_EQ(dm->currentUser, QStringLiteral("1"));

    TLoginFrm again(dm.get(), &msg);
    again.show();
    QTest::keyClick(again.ComboBox1, Qt::Key_Escape);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_FALSE(again.isVisible());
}

TEST_F(LoginTest, ChoosingADefaultUserInAdministrationSignsThemInAtOnce)
{
    addAdministrator();
    addUserRow(db(), 1, QStringLiteral("Alice"), QStringLiteral("pw"));
    addUserRow(db(), 2, QStringLiteral("Bob"), QStringLiteral("pw"));
    login->show();
    Users::modalHook() = [&](QDialog& d) {
        auto* a = qobject_cast<TUserAndPassWordFrm*>(&d);
        a->show();
        a->CheckBox1->setChecked(false);
        a->ListView1->setCurrentItem(a->entryOf(QStringLiteral("Bob")));
        QTest::mouseClick(a->BitBtn1, Qt::LeftButton);
        return a->result();
    };
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("2"));
    EXPECT_EQ(Registry::installPath(), dm->programFolder());
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_EQ(dm->currentUser, QStringLiteral("2"));
    EXPECT_EQ(msg.count(), 0);
}

TEST_F(LoginTest, AdministrationClosedWithoutDefaultUserKeepsTheWindowOpen)
{
    addAdministrator();
    addUserRow(db(), 1, QStringLiteral("Alice"), QStringLiteral("pw"));
    dm->writeSetting(0, QStringLiteral("1"));
    login->show();
    Users::modalHook() = [&](QDialog& d) {
        auto* a = qobject_cast<TUserAndPassWordFrm*>(&d);
        a->show();
        QTest::mouseClick(a->BitBtn1, Qt::LeftButton); // the box is ticked: nobody signs in automatically
        return a->result();
    };
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("0"));
    EXPECT_EQ(dm->currentUser, QStringLiteral("0"));
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->result(), QDialog::Rejected);
    EXPECT_EQ(login->ComboBox1->currentText(), QStringLiteral("Alice"));
}

TEST_F(LoginTest, QuotesAndPercentInNamesAreData)
{
    addUserRow(db(), 1, QStringLiteral("O'Brien"), QStringLiteral("it's 100%"), false, QStringLiteral("50% 'off'"));
    addUserRow(db(), 2, QStringLiteral("O%"), QStringLiteral("x"));
    login->show();
    signIn(QStringLiteral("O'Brien"), QStringLiteral("it's 100%"));
    EXPECT_EQ(msg.count(), 0);
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_EQ(dm->currentUser, QStringLiteral("1"));
}

TEST_F(LoginTest, EveryButtonPlaysTheClickSoundFirst)
{
    enableClickSound();
    addUserRow(db(), 1, QStringLiteral("A"), QStringLiteral("pw"));
    login->show();
    int playedWhenAsked = -1;
    msg.onShow = [&](const ShownMessage&) { playedWhenAsked = folder.sound.played.size(); };
    QTest::mouseClick(login->BitBtn1, Qt::LeftButton); // wrong (empty) password
    EXPECT_EQ(playedWhenAsked, 1);
    int playedWhenOpened = -1;
    Users::modalHook() = [&](QDialog&) {
        playedWhenOpened = folder.sound.played.size();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(login->BitBtn3, Qt::LeftButton);
    EXPECT_EQ(playedWhenOpened, 2);
    QTest::mouseClick(login->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(folder.sound.played.size(), 3);
    EXPECT_EQ(login->result(), QDialog::Rejected);
    EXPECT_TRUE(folder.sound.played.first().endsWith(QStringLiteral("Sound/push.wav")));
}

} // namespace
