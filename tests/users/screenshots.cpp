// Renders the sign-in and user administration windows to PNG files, to look
// at them as a user would. ctest does not run it; by hand:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb ZELKO_SHOT_DIR=/tmp/shots/users ./bin/users_screenshots
#include "tchangecharacterfrm.h"
#include "tchangepasswordfrm.h"
#include "tinputpasswordfrm.h"
#include "tloginfrm.h"
#include "tuserandpasswordfrm.h"
#include "tuserguidefrm.h"
#include "usertestutil.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString shotFolder()
{
    const QString f = qEnvironmentVariable("ZELKO_SHOT_DIR", QStringLiteral("/tmp/shots/users"));
    QDir().mkpath(f);
    return f + QLatin1Char('/');
}

void shoot(QWidget* w, const QString& name)
{
    w->show();
    QTest::qWait(150);
    EXPECT_TRUE(w->grab().save(shotFolder() + name + QStringLiteral(".png"))) << name.toStdString();
}

class Shots : public UsersTest {};

TEST_F(Shots, AllWindows)
{
    addAdministrator(QStringLiteral("admin"));
    addUserRow(db(), 1, QStringLiteral("张三"), QStringLiteral("pw"), false, QStringLiteral("爸爸，管家里的大账"));
    addUserRow(db(), 2, QStringLiteral("李四"), QString(), true, QStringLiteral("暂时不用"));
    addUserRow(db(), 3, QStringLiteral("王小明"), QString(), false, QStringLiteral("上大学的儿子"));
    addUserRow(db(), 4, QStringLiteral("Alice"), QString());
    dm->writeSetting(0, QStringLiteral("3"));
    dm->writeSetting(3, QStringLiteral("1"));

    TLoginFrm login(dm.get(), &msg);
    login.MaskEdit1->setText(QStringLiteral("secret"));
    shoot(&login, QStringLiteral("TLoginFrm"));

    TInputPassWordFrm prompt(dm.get(), &msg);
    prompt.UserID = QStringLiteral("0");
    prompt.MaskEdit1->setText(QStringLiteral("abc"));
    shoot(&prompt, QStringLiteral("TInputPassWordFrm"));

    TUserAndPassWordFrm admin(dm.get(), &msg);
    shoot(&admin, QStringLiteral("TUserAndPassWordFrm"));

    TChangePassWordFrm pw(dm.get(), &msg, QStringLiteral("张三"));
    pw.Edit1->setText(QStringLiteral("1234"));
    shoot(&pw, QStringLiteral("TChangePassWordFrm"));

    TChangeCharacterFrm props(dm.get(), &msg, admin.entryOf(QStringLiteral("张三")));
    shoot(&props, QStringLiteral("TChangeCharacterFrm"));

    TUserGuideFrm wizard(dm.get(), &msg, admin.ListView1);
    wizard.Edit1->setText(QStringLiteral("赵六"));
    wizard.Edit2->setText(QStringLiteral("女儿"));
    shoot(&wizard, QStringLiteral("TUserGuideFrm-1"));
    QTest::mouseClick(wizard.Button2, Qt::LeftButton);
    wizard.Edit1->setText(QStringLiteral("abcd"));
    shoot(&wizard, QStringLiteral("TUserGuideFrm-2"));
}

} // namespace
