// "数据修复压缩" and "从1.0导入数据..." in the main window.
#include "mainfixture.h"
#include "maintenancecommands.h"
#include "maintenanceinstall.h"
#include "tprogressbardlg.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

namespace {

class OneRecordReader : public IV1Reader {
public:
    bool load(const QString&, V1Data* out, SqlError*) override
    {
        V1Record r;
        r.accountId = 1;
        r.accountTime = QDateTime(QDate(2024, 3, 1), QTime(8, 0));
        r.account = Money::fromDouble(-12.5);
        r.typeId = QStringLiteral("101");
        r.typeId2 = QStringLiteral("201");
        r.mark = QStringLiteral("早饭");
        out->types = {{QStringLiteral("101"), QStringLiteral("老现金"), QStringLiteral("1"), QStringLiteral("1"),
                       Money::fromDouble(-12.5)},
                      {QStringLiteral("201"), QStringLiteral("伙食"), QStringLiteral("2"), QStringLiteral("1"), Money()}};
        out->records = {r};
        return true;
    }
};

} // namespace

class MaintenanceInstall : public MainFixture {};

TEST_F(MaintenanceInstall, VerifyShowsProgressRepairsAndRebuildsTheWindow)
{
    seedCatalogue();
    // A wrong running balance and a wrong account balance.
    addEntry(1, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("午饭"), {}, 0, 250000);
    TMainFrm* w = open();
    installMaintenanceExtra(*w, *dm, folder.messages, files, desktop);
    w->start();

    int maximum = -1, position = -1;
    QString caption;
    folder.messages.onShow = [&](const ShownMessage& m) {
        if (m.text != QStringLiteral("数据修复压缩成功！"))
            return;
        auto* dlg = w->findChild<TProgressBarDlg*>();
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(dlg->isModal());
        caption = dlg->windowTitle();
        maximum = dlg->ProgressBar1->maximum();
        position = dlg->position();
        const QString shots = qEnvironmentVariable("ZELKO_SHOT_DIR");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            dlg->grab().save(shots + QStringLiteral("/progress.png"));
            w->grab().save(shots + QStringLiteral("/mainwindow.png"));
        }
    };
    // A picture half-way through the passes, when asked for.
    const QString shots = qEnvironmentVariable("ZELKO_SHOT_DIR");
    MaintenanceCommands* c = maintenanceExtraCommands(*w);
    ASSERT_NE(c, nullptr);
    if (!shots.isEmpty()) {
        const auto step = c->progress.step;
        c->progress.step = [w, step, shots] {
            step();
            auto* dlg = w->findChild<TProgressBarDlg*>();
            if (dlg && dlg->position() == 3) {
                QDir().mkpath(shots);
                dlg->grab().save(shots + QStringLiteral("/progress-running.png"));
            }
        };
    }
    w->ActVerify->trigger();

    EXPECT_EQ(caption, QStringLiteral("正在修复压缩数据..."));
    EXPECT_EQ(maximum, 2 * 1 + 3); // one entry, three accounts
    EXPECT_GE(position, maximum);
    EXPECT_EQ(w->findChild<TProgressBarDlg*>(), nullptr); // freed at the end
    EXPECT_EQ(desktop.opened.size(), 1);
    EXPECT_TRUE(desktop.opened.last().endsWith(QStringLiteral("Data/Verify.log")));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("Data/Account.tmp"))));
    ASSERT_TRUE(dm->isConnected());
    ASSERT_TRUE(dm->query(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = 1 AND ActID = 1")));
    EXPECT_EQ(dm->ADOQuery1().money(0, QStringLiteral("Balance")), Money::fromRaw(-250000));
    ASSERT_TRUE(dm->query(QStringLiteral("SELECT Balance FROM AC_Type WHERE UserID = 1 AND TypeID = '101'")));
    EXPECT_EQ(dm->ADOQuery1().money(0, QStringLiteral("Balance")), Money::fromRaw(-250000));
    // The tree is back.
    EXPECT_NE(node(QStringLiteral("101")), nullptr);
}

TEST_F(MaintenanceInstall, UpgradeImportsThroughTheWindow)
{
    seedCatalogue();
    TMainFrm* w = open();
    installMaintenanceExtra(*w, *dm, folder.messages, files, desktop);
    w->start();
    OneRecordReader reader;
    ASSERT_NE(maintenanceExtraCommands(*w), nullptr);
    maintenanceExtraCommands(*w)->setReader(&reader);
    QDir().mkpath(folder.path(QStringLiteral("Backup")));
    QFile old(folder.path(QStringLiteral("Backup/v1.mdb")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    files.nextPath = old.fileName();

    w->ActUpgrade->trigger();
    ASSERT_GE(folder.messages.count(), 2);
    EXPECT_TRUE(desktop.opened.last().endsWith(QStringLiteral("Data/Upgrade.log")));
    EXPECT_EQ(w->findChild<TProgressBarDlg*>(), nullptr);
    ASSERT_NE(node(QStringLiteral("101")), nullptr);
    EXPECT_EQ(node(QStringLiteral("101"))->text(0).contains(QStringLiteral("老现金")), true);
    EXPECT_EQ(node(QStringLiteral("102")), nullptr); // the user's old accounts are replaced
}
