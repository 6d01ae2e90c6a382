#include "testdb.h"
#include "toptionsfrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Fixture {
    TestFolder f;
    std::unique_ptr<TDataModule1> dm = f.makeDataModule();

    Fixture()
    {
        // a click sound to hear
        QDir(f.programFolder()).mkpath(QStringLiteral("Sound"));
        QFile w(f.path(QStringLiteral("Sound/push.wav")));
        w.open(QIODevice::WriteOnly);
    }
    QString setting(int id) { return dm->readSetting(id); }
    bool stored(int id)
    {
        dm->query(QStringLiteral("SELECT count(*) FROM AC_Setting WHERE SettingID = ?"), {id});
        return dm->ADOQuery1().value(0, 0).toInt() > 0;
    }
    void type(QLineEdit* e, const QString& text)
    {
        e->clear();
        QTest::keyClicks(e, text);
    }
};

} // namespace

TEST(OptionsDialog, OpensWithDefaultsAndCancelStoresNothing)
{
    Fixture x;
    TOptionsFrm dlg(x.dm.get(), &x.f.messages);
    dlg.open();
    EXPECT_EQ(dlg.size(), QSize(537, 315));
    EXPECT_FALSE(dlg.CheckBoxBackup->isChecked());
    EXPECT_EQ(dlg.EditBackupDays->text(), QStringLiteral("30"));
    EXPECT_FALSE(dlg.CheckBoxSkipFlashBox->isChecked());
    EXPECT_EQ(dlg.EditLastDays->text(), QStringLiteral("30"));
    EXPECT_EQ(dlg.EditLeastRec->text(), QStringLiteral("5"));
    EXPECT_EQ(dlg.EditMostRec->text(), QStringLiteral("30"));
    EXPECT_EQ(dlg.ComboBoxWeekStat->currentText(), QStringLiteral("星期一"));
    EXPECT_EQ(dlg.ComboBoxSeasonStat->currentText(), QStringLiteral("季前"));

    x.type(dlg.EditLastDays, QStringLiteral("9"));
    QTest::mouseClick(dlg.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(x.f.sound.played.size(), 1) << "the button plays the click sound";
    for (int id : {10, 13, 14, 15, 16, 17, 18})
        EXPECT_EQ(x.setting(id), QStringLiteral("0")) << id;
}

TEST(OptionsDialog, StoresEveryFieldAndReadsItBack)
{
    Fixture x;
    {
        TOptionsFrm dlg(x.dm.get(), &x.f.messages);
        dlg.open();
        dlg.CheckBoxBackup->setChecked(false);
        x.type(dlg.EditBackupDays, QStringLiteral("15"));
        dlg.CheckBoxSkipFlashBox->setChecked(true);
        x.type(dlg.EditLastDays, QStringLiteral(" 7 "));
        x.type(dlg.EditLeastRec, QStringLiteral("3"));
        x.type(dlg.EditMostRec, QStringLiteral("40"));
        dlg.ComboBoxWeekStat->setCurrentIndex(6);
        dlg.ComboBoxSeasonStat->setCurrentIndex(2);
        // Enter in a field presses 确定.
        QTest::keyClick(dlg.EditMostRec, Qt::Key_Return);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(x.f.messages.count(), 0);
    }
    const QStringList stored{x.setting(10), x.setting(18), x.setting(13), x.setting(14),
                             x.setting(15), x.setting(16), x.setting(17)};
    EXPECT_EQ(stored.join(','), QStringLiteral("-15,1,7,3,40,6,2"));

    TOptionsFrm again(x.dm.get(), &x.f.messages);
    EXPECT_FALSE(again.CheckBoxBackup->isChecked());
    EXPECT_EQ(again.EditBackupDays->text(), QStringLiteral("15"));
    EXPECT_TRUE(again.CheckBoxSkipFlashBox->isChecked());
    EXPECT_EQ(again.EditLastDays->text(), QStringLiteral("7"));
    EXPECT_EQ(again.ComboBoxWeekStat->currentText(), QStringLiteral("星期日"));
    EXPECT_EQ(again.ComboBoxSeasonStat->currentText(), QStringLiteral("季末"));

    x.dm->writeSetting(10, QStringLiteral("20"));
    TOptionsFrm ticked(x.dm.get(), &x.f.messages);
    EXPECT_TRUE(ticked.CheckBoxBackup->isChecked());
    EXPECT_EQ(ticked.EditBackupDays->text(), QStringLiteral("20"));
}

// Each field is checked in turn; what came before is already stored, what
// comes after is not, and the dialog stays open on the field's tab.
TEST(OptionsDialog, ValidatesInOrderAndStoresAsItGoes)
{
    const struct {
        const char* field;
        const char* text;
        const char* message;
        const char* tab;
        QList<int> stored;
    } cases[] = {
        {"EditBackupDays", "abc", "间隔天数错误，请重新输入！", "TabGeneral", {}},
        {"EditBackupDays", "0", "间隔天数必须大于零，请重新输入！", "TabGeneral", {}},
        {"EditLastDays", "1.5", "天数错误，请重新输入！", "TabInOut", {10, 18}},
        {"EditLastDays", "-2", "天数必须大于零，请重新输入！", "TabInOut", {10, 18}},
        {"EditLeastRec", "abc", "最少记录数错误，请重新输入！", "TabInOut", {10, 18, 13}},
        {"EditLeastRec", "0", "最少记录数必须大于零，请重新输入！", "TabInOut", {10, 18, 13}},
        {"EditMostRec", "", "最多记录数错误，请重新输入！", "TabInOut", {10, 18, 13, 14}},
        {"EditMostRec", "0", "最多记录数必须大于零，请重新输入！", "TabInOut", {10, 18, 13, 14}},
    };
    for (const auto& c : cases) {
        Fixture x;
        TOptionsFrm dlg(x.dm.get(), &x.f.messages);
        dlg.open();
        // Start from the other tab, so that switching is seen.
        dlg.PageControl1->setCurrentWidget(QLatin1String(c.tab) == QLatin1String("TabGeneral") ? dlg.TabInOut
                                                                                                 : dlg.TabGeneral);
        auto* edit = dlg.findChild<QLineEdit*>(QString::fromUtf8(c.field));
        ASSERT_TRUE(edit);
        edit->setText(QString::fromUtf8(c.text));
        QTest::mouseClick(dlg.BitBtn1, Qt::LeftButton);

        ASSERT_EQ(x.f.messages.count(), 1) << c.field << " " << c.text;
        EXPECT_EQ(x.f.messages.last().title, QStringLiteral("提示"));
        EXPECT_EQ(x.f.messages.last().icon, MsgIcon::Information);
        EXPECT_EQ(x.f.messages.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(dlg.PageControl1->currentWidget()->objectName(), QString::fromUtf8(c.tab));
        EXPECT_EQ(dlg.focusWidget(), edit);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        for (int id : {10, 18, 13, 14, 15, 16, 17})
            EXPECT_EQ(x.stored(id), c.stored.contains(id))
                << c.field << " " << c.text << " setting " << id;
        if (c.stored.contains(10))
            EXPECT_EQ(x.setting(10), QStringLiteral("-30")) << "unticked reminder stores the days negated";

        // Cancelling now keeps what was stored.
        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        if (c.stored.contains(13))
            EXPECT_EQ(x.setting(13), QStringLiteral("30"));
    }
}
