// The main window frame: start, page switch, layout store, closing reminder
// and the settings commands.
#include "balancegrid.h"
#include "mainfixture.h"
#include <QSplitter>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QUrl>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QSplitter>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QTextEdit>

using MainFrame = MainFixture;

TEST_F(MainFrame, StartsMaximisedWithTreeBalancesAndStatusBar)
{
    seedCatalogue();
    addEntry(1, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("午饭"), {}, 0, 250000);
    TMainFrm* w = open();

    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Zelko家庭理财 V2.8"));
    EXPECT_EQ(w->statusText(0), QStringLiteral(" 你不理财，财不理你。理财记帐从《Zelko家庭理财》开始！"));
    EXPECT_EQ(w->statusText(2), QStringLiteral("用户： 【张三】"));
    EXPECT_EQ(w->statusText(3), Dates::longText(QDate::currentDate()));
    EXPECT_EQ(w->StatusPanel[1]->width(), 100);
    EXPECT_EQ(w->StatusPanel[2]->width(), 150);
    EXPECT_EQ(w->StatusPanel[3]->width(), 170);

    // Tree per "100011110": the funds and address-book classes are open, the others closed.
    EXPECT_EQ(w->treeStat(), QStringLiteral("100011110"));
    EXPECT_TRUE(node(QStringLiteral("1"))->isExpanded());
    EXPECT_FALSE(node(QStringLiteral("2"))->isExpanded());
    EXPECT_FALSE(node(QStringLiteral("3"))->isExpanded());
    EXPECT_TRUE(node(QStringLiteral("5"))->isExpanded());
    EXPECT_EQ(w->TreeView1->topLevelItemCount(), 9);
    EXPECT_EQ(node(QStringLiteral("200")), nullptr); // system members are not in the tree
    EXPECT_EQ(w->currentTypeId(), QStringLiteral("1"));
    EXPECT_EQ(w->currentPage(), static_cast<QWidget*>(w->ledgerPage));

    // Balance grid: the accounts and both footers.
    EXPECT_EQ(w->DBGridBalance->model()->rowCount(), 3);
    EXPECT_EQ(w->balanceGrid->footerLabel(0, 0)->text(), QStringLiteral("可用资金"));
    EXPECT_EQ(w->balanceGrid->footerLabel(0, 1)->text(), QStringLiteral("173.45"));
    EXPECT_EQ(w->balanceGrid->footerLabel(1, 0)->text(), QStringLiteral("帐外资金"));
    EXPECT_EQ(w->balanceGrid->footerLabel(1, 1)->text(), QStringLiteral("20.00"));

    // Layout defaults.
    EXPECT_EQ(w->panelState(QStringLiteral("Panel1")).size, 179);
    EXPECT_EQ(w->panelState(QStringLiteral("Panel3")).size, 300);
    EXPECT_EQ(w->panelState(QStringLiteral("Panel19")).size, 300);
    EXPECT_EQ(w->panelState(QStringLiteral("Panel14")).size, 243);
    EXPECT_FALSE(w->panelState(QStringLiteral("Panel1")).collapsed);
    EXPECT_EQ(w->layoutValues().pageControl1, 0);
    EXPECT_EQ(w->layoutValues().fontName, QStringLiteral("宋体"));
    EXPECT_EQ(w->chosenFont().pointSize(), 9);
    EXPECT_FALSE(w->ActUndo->isEnabled());
}

TEST_F(MainFrame, ToolbarHasTwoRowsOfCaptionedButtons)
{
    TMainFrm* w = open();
    const QStringList names{QStringLiteral("DirAdd"),    QStringLiteral("DirEdit"),      QStringLiteral("DirDel"),
                            QStringLiteral("DirProperty"), QStringLiteral("DirSearch"),  QStringLiteral("ActInsert"),
                            QStringLiteral("ActEdit"),   QStringLiteral("ActUndo"),      QStringLiteral("ActDel"),
                            QStringLiteral("ActSelectAll"), QStringLiteral("ActTransferVisible"), QStringLiteral("ToolCalc"),
                            QStringLiteral("ToolInterest"), QStringLiteral("ToolTax"),  QStringLiteral("ActExit")};
    for (const QString& n : names) {
        QToolButton* b = w->toolButton(n);
        ASSERT_NE(b, nullptr) << n.toStdString();
        EXPECT_EQ(b->size(), QSize(55, 51));
        EXPECT_EQ(b->iconSize(), QSize(32, 32));
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(b->icon().isNull()) << n.toStdString();
    }
    EXPECT_EQ(w->toolButton(QStringLiteral("DirSearch"))->text(), QStringLiteral("查询记录"));
    EXPECT_EQ(w->toolButton(QStringLiteral("ActSelectAll"))->text(), QStringLiteral("选中所有"));
    EXPECT_EQ(w->toolButton(QStringLiteral("ActTransferVisible"))->text(), QStringLiteral("不选转帐"));
    EXPECT_EQ(w->toolButton(QStringLiteral("ActExit"))->text(), QStringLiteral("退出"));
    EXPECT_EQ(w->toolButton(QStringLiteral("DirProperty"))->toolTip(), QStringLiteral("查看属性"));
    // Every action has a caption and an icon; the keys are those of the command table.
    for (QAction* a : w->actionList()) {
        EXPECT_FALSE(a->text().isEmpty());
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    }
    EXPECT_EQ(w->ActInsert->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(w->DirProperty->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(w->ToolTax->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(w->ActDel->shortcuts().size(), 2);
    EXPECT_EQ(w->ActUndo->toolTip(), QStringLiteral("撤消新增或修改操作"));
    // The tree pop-up in its order.
    QStringList popup;
    for (QAction* a : w->TreePopup->actions())
        popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(popup, QStringList({QStringLiteral("新增分类"), QStringLiteral("修改分类"), QStringLiteral("删除分类"),
                                  QStringLiteral("帐户属性"), QStringLiteral("-"), QStringLiteral("导出..."),
                                  QStringLiteral("导入..."), QStringLiteral("打印...")}));
}

TEST_F(MainFrame, PageAndActionStatesFollowTheBranchCode)
{
    seedCatalogue();
    TMainFrm* w = open();
    w->PageControl1->addTab(new QWidget, QStringLiteral("收支统计"));
    w->PageControl1->addTab(new QWidget, QStringLiteral("盈余统计"));
    w->PageControl1->addTab(new QWidget, QStringLiteral("余额变化"));

    struct Case {
        const char* node;
        QWidget* page;
        bool add, edit, del, property, search, listActions;
    };
    const Case cases[] = {
        {"1", w->ledgerPage, true, false, false, false, true, true},
        {"101", w->ledgerPage, false, true, true, true, true, true},
        {"2", w->ledgerPage, true, false, false, false, true, true},
        {"203", w->ledgerPage, false, true, true, false, true, true},
        {"3", w->ledgerPage, true, false, false, false, true, true},
        {"4", w->planPage, false, false, false, false, false, false},
        {"5", w->addressPage, true, false, false, false, true, false},
        {"501", w->addressPage, false, true, true, false, true, false},
        {"6", w->memoPage, true, false, false, false, true, false},
        {"8", w->Panel9, false, false, false, false, true, false},
        {"9", w->Panel8, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        select(QString::fromLatin1(c.node));
        EXPECT_EQ(w->currentPage(), c.page);
        EXPECT_EQ(w->DirAdd->isEnabled(), c.add);
        EXPECT_EQ(w->DirEdit->isEnabled(), c.edit);
        EXPECT_EQ(w->DirDel->isEnabled(), c.del);
        EXPECT_EQ(w->DirProperty->isEnabled(), c.property);
        EXPECT_EQ(w->DirSearch->isEnabled(), c.search);
        EXPECT_EQ(w->ActSelectAll->isEnabled(), c.listActions);
        EXPECT_EQ(w->ActTransferVisible->isEnabled(), c.listActions);
        const bool fundsTabs = QString::fromLatin1(c.node).startsWith(QLatin1Char('1'));
        if (c.page == w->ledgerPage) {
            EXPECT_EQ(w->PageControl1->isTabVisible(1), fundsTabs);
            EXPECT_EQ(w->PageControl1->isTabVisible(2), fundsTabs);
            EXPECT_TRUE(w->PageControl1->isTabVisible(0));
        }
    }
    EXPECT_NE(QString(w->RichEdit1->toHtml()).indexOf(QStringLiteral("功能尚未完成")), -1);

    // The family-members root changes nothing, whichever page was shown.
    for (const char* before : {"4", "101"}) {
        select(QString::fromLatin1(before));
        QWidget* page = w->currentPage();
        QList<bool> states;
        for (QAction* a : w->actionList())
            states << a->isEnabled();
        select(QStringLiteral("7"));
        EXPECT_EQ(w->currentPage(), page);
        QList<bool> after;
        for (QAction* a : w->actionList())
            after << a->isEnabled();
        EXPECT_EQ(after, states) << before;
    }
}

TEST_F(MainFrame, UndoFollowsTheEditedDatasetAndTakesDeleteKeyAway)
{
    TMainFrm* w = open();
    select(QStringLiteral("4"));
    ASSERT_TRUE(dm->ADOTable2->isOpen());
    ASSERT_TRUE(dm->ADOTable2->append());
    EXPECT_TRUE(w->ActUndo->isEnabled());
    EXPECT_EQ(w->ActDel->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    // Another branch decides by its own dataset.
    select(QStringLiteral("5"));
    EXPECT_FALSE(w->ActUndo->isEnabled());
    select(QStringLiteral("4"));
    dm->ADOTable2->cancel();
    EXPECT_FALSE(w->ActUndo->isEnabled());
    EXPECT_EQ(w->ActDel->shortcuts().size(), 2);
}

TEST_F(MainFrame, PreStepPostsThePendingEditExceptForRecordActions)
{
    TMainFrm* w = open();
    select(QStringLiteral("5"));
    int hooks = 0;
    w->actionHooks.insert(QStringLiteral("ActInsert"), [&] { ++hooks; });
    w->actionHooks.insert(QStringLiteral("ActExport"), [&] { ++hooks; });
    QList<RecordSet*> posted;
    w->postPendingHook = [&](RecordSet* rs) { posted << rs; };
    ASSERT_TRUE(dm->ADOTable3->append());
    w->ActInsert->trigger();
    EXPECT_TRUE(posted.isEmpty());
    w->ActExport->trigger();
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted.first(), dm->ADOTable3);
    EXPECT_EQ(hooks, 2);
    dm->ADOTable3->cancel();
}

TEST_F(MainFrame, LayoutCorrectionsAndRoundTrip)
{
    {
        auto s = Registry::open();
        s->setValue(QStringLiteral("Panel1"), QStringLiteral("10"));
        s->setValue(QStringLiteral("Panel3"), QStringLiteral("99999"));
        s->setValue(QStringLiteral("Panel19"), QStringLiteral("3"));
        s->setValue(QStringLiteral("Panel14Stat"), QStringLiteral("1"));
        s->setValue(QStringLiteral("Panel14"), QStringLiteral("200"));
        s->setValue(QStringLiteral("FontStyle"), QStringLiteral("1010"));
        s->setValue(QStringLiteral("FontSize"), QStringLiteral("11"));
        s->setValue(QStringLiteral("FontColor"), QStringLiteral("255"));
        s->setValue(QStringLiteral("TreeStat"), QStringLiteral("010000000"));
        s->setValue(QStringLiteral("MainHeight"), QStringLiteral("700"));
        s->setValue(QStringLiteral("MainWidth"), QStringLiteral("900"));
        s->setValue(QStringLiteral("GroupBox4"), QStringLiteral("222"));
        s->sync();
    }
    seedCatalogue();
    TMainFrm* w = open();
    EXPECT_EQ(w->panelState(QStringLiteral("Panel1")).size, 15);
    const int panel3 = w->panelState(QStringLiteral("Panel3")).size;
    EXPECT_LT(panel3, 700 - 50);
    EXPECT_GE(panel3, 10);
    EXPECT_EQ(w->panelState(QStringLiteral("Panel19")).size, 10);
    EXPECT_TRUE(w->panelState(QStringLiteral("Panel14")).collapsed);
    EXPECT_EQ(w->panelState(QStringLiteral("Panel14")).size, 200);
    const QFont f = w->chosenFont();
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_FALSE(f.strikeOut());
    EXPECT_EQ(f.pointSize(), 11);
    EXPECT_EQ(w->TreeView1->font().pointSize(), 11);
    EXPECT_EQ(w->layoutValues().color(), QColor(255, 0, 0));
    EXPECT_FALSE(node(QStringLiteral("1"))->isExpanded());
    EXPECT_TRUE(node(QStringLiteral("2"))->isExpanded());

    // Expanding and collapsing classes changes the text that is written.
    node(QStringLiteral("3"))->setExpanded(true);
    node(QStringLiteral("2"))->setExpanded(false);
    w->DBGridBalance->horizontalHeader()->resizeSection(0, 120);
    w->close();
    win.reset();

    auto s = Registry::open();
    EXPECT_EQ(s->value(QStringLiteral("Panel1")).toString(), QStringLiteral("15"));
    EXPECT_EQ(s->value(QStringLiteral("Panel1Stat")).toString(), QStringLiteral("0"));
    EXPECT_EQ(s->value(QStringLiteral("Panel14Stat")).toString(), QStringLiteral("1"));
    EXPECT_EQ(s->value(QStringLiteral("Panel14")).toString(), QStringLiteral("200"));
    EXPECT_EQ(s->value(QStringLiteral("FontStyle")).toString(), QStringLiteral("1010"));
    EXPECT_EQ(s->value(QStringLiteral("FontSize")).toString(), QStringLiteral("11"));
    EXPECT_EQ(s->value(QStringLiteral("FontColor")).toString(), QStringLiteral("255"));
    EXPECT_EQ(s->value(QStringLiteral("FontCharset")).toString(), QStringLiteral("134"));
    EXPECT_EQ(s->value(QStringLiteral("TreeStat")).toString(), QStringLiteral("001000000"));
    EXPECT_EQ(s->value(QStringLiteral("PageControl1")).toString(), QStringLiteral("0"));
    // Position values and GroupBox4 are read but never written.
    EXPECT_EQ(s->value(QStringLiteral("MainWidth")).toString(), QStringLiteral("900"));
    EXPECT_FALSE(s->contains(QStringLiteral("MainLeft")));
    EXPECT_EQ(s->value(QStringLiteral("GroupBox4")).toString(), QStringLiteral("222"));
    EXPECT_TRUE(s->childGroups().contains(QStringLiteral("TMainFrmDBGridBalance")));

    // The next start restores the grid layout.
    TMainFrm* again = open();
    EXPECT_EQ(again->DBGridBalance->horizontalHeader()->sectionSize(0), 120);
    EXPECT_TRUE(node(QStringLiteral("3"))->isExpanded());
}

TEST_F(MainFrame, CollapsedPanelKeepsItsSizeBeforeCollapsing)
{
    TMainFrm* w = open();
    w->resize(1200, 800);
    w->showNormal();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    w->mainSplitter->setSizes({0, 1200});
    emit w->mainSplitter->splitterMoved(0, 1);
    EXPECT_TRUE(w->panelState(QStringLiteral("Panel1")).collapsed);
    w->close();
    auto s = Registry::open();
    EXPECT_EQ(s->value(QStringLiteral("Panel1Stat")).toString(), QStringLiteral("1"));
    EXPECT_EQ(s->value(QStringLiteral("Panel1")).toString(), QStringLiteral("179"));
}

TEST(ClosingReminder, AsksOnceTheIntervalHasPassed)
{
    const QDate today(2026, 3, 10);
    struct Case { const char* interval; QString last; bool due; int days; };
    const Case cases[] = {
        {"7", Dates::shortText(today.addDays(-6)), false, 6},
        {"7", Dates::shortText(today.addDays(-7)), true, 7},
        {"7", QStringLiteral("0"), true, int(QDate(2008, 1, 1).daysTo(today))},
        {"0", QStringLiteral("0"), false, 0},
        {"7", Dates::shortText(today.addDays(3)), false, -3},
        {"7", QStringLiteral("2026-2-3x"), true, int(QDate(2008, 1, 1).daysTo(today))},
    };
    for (const Case& c : cases) {
        int days = 0;
        EXPECT_EQ(TMainFrm::backupDue(QString::fromLatin1(c.interval), c.last, today, &days), c.due) << c.interval;
        if (c.due || QString::fromLatin1(c.interval) != QLatin1String("0"))
            EXPECT_EQ(days, c.days);
    }
}

TEST_F(MainFrame, CloseOffersTheBackupAndRunsIt)
{
    dm->writeSetting(10, QStringLiteral("7"));
    dm->writeSetting(11, Dates::shortText(QDate::currentDate().addDays(-7)));
    TMainFrm* w = open();
    int backups = 0;
    w->actionHooks.insert(QStringLiteral("BackupRoutine"), [&] { ++backups; });
    folder.messages.clear();
    w->close();
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Question);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("距上次数据备份已经7天，现在是否要备份？"));
    EXPECT_EQ(backups, 1);
}

TEST_F(MainFrame, ClosingReminderRunsTheBackupWithoutASecondClick)
{
    QDir().mkpath(folder.path(QStringLiteral("Sound")));
    QFile wav(folder.path(QStringLiteral("Sound/push.wav")));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.close();
    dm->writeSetting(10, QStringLiteral("7"));
    dm->writeSetting(11, Dates::shortText(QDate::currentDate().addDays(-7)));
    TMainFrm* w = open();
    files.nextPath.clear(); // the save dialog is cancelled
    folder.sound.played.clear();
    w->close();
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests.last().title, QStringLiteral("保存为"));
    // The close plays the click; the backup it leads to does not play another.
    EXPECT_EQ(folder.sound.played.count(folder.path(QStringLiteral("Sound/push.wav"))), 1);
}

TEST_F(MainFrame, CloseWithSixDaysOrNoIntervalAsksNothing)
{
    for (const char* interval : {"7", "0"}) {
        dm->writeSetting(10, QString::fromLatin1(interval));
        dm->writeSetting(11, Dates::shortText(QDate::currentDate().addDays(interval[0] == '7' ? -6 : -400)));
        TMainFrm* w = open();
        folder.messages.clear();
        w->close();
        EXPECT_EQ(folder.messages.count(), 0) << interval;
        win.reset();
    }
}

TEST_F(MainFrame, MuteToolbarAndSignInCommands)
{
    dm->writeSetting(4, QStringLiteral("1"));
    dm->writeSetting(0, QStringLiteral("1"));
    dm->writeSetting(2, QStringLiteral("1"));
    Registry::setInstallPath(folder.programFolder());
    TMainFrm* w = open();
    EXPECT_FALSE(w->ToolBar1->isHidden());
    EXPECT_TRUE(TMainFrm::isTicked(w->MenuToolbar));
    EXPECT_TRUE(w->MenuShowLogin->isEnabled());
    EXPECT_FALSE(TMainFrm::isTicked(w->MenuMute));
    EXPECT_TRUE(TMainFrm::isTicked(w->ActTransferVisible));

    w->MenuToolbar->trigger();
    EXPECT_EQ(dm->readSetting(4), QStringLiteral("0"));
    EXPECT_TRUE(w->ToolBar1->isHidden());
    EXPECT_FALSE(TMainFrm::isTicked(w->MenuToolbar));
    w->MenuToolbar->trigger();
    EXPECT_EQ(dm->readSetting(4), QStringLiteral("1"));
    EXPECT_FALSE(w->ToolBar1->isHidden());

    // Mute: the command's own click still sounds, then everything is silent.
    folder.sound.played.clear();
    QFile::remove(folder.path(QStringLiteral("Sound/push.wav")));
    QDir().mkpath(folder.path(QStringLiteral("Sound")));
    QFile wav(folder.path(QStringLiteral("Sound/push.wav")));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.write("RIFF");
    wav.close();
    w->MenuMute->trigger();
    EXPECT_EQ(folder.sound.played.size(), 1);
    EXPECT_EQ(dm->readSetting(1), QStringLiteral("1"));
    EXPECT_TRUE(TMainFrm::isTicked(w->MenuMute));
    dm->clickSound();
    EXPECT_EQ(folder.sound.played.size(), 1);
    w->MenuMute->trigger();
    EXPECT_EQ(dm->readSetting(1), QStringLiteral("0"));
    EXPECT_FALSE(TMainFrm::isTicked(w->MenuMute));

    folder.messages.clear();
    w->MenuShowLogin->trigger();
    EXPECT_EQ(Registry::installPath(), QString());
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("0"));
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("下次运行时将提示用户登录！"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
    EXPECT_TRUE(w->MenuShowLogin->isEnabled()); // until the tree is built again
    w->buildTree();
    EXPECT_FALSE(w->MenuShowLogin->isEnabled());
}

TEST_F(MainFrame, SkinMenuListsSkinsAndRecordsTheChoice)
{
    QDir().mkpath(folder.path(QStringLiteral("Skins")));
    for (const char* name : {"Blue.skn", "Green.skn"}) {
        QFile f(folder.path(QStringLiteral("Skins/") + QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("QWidget { }");
    }
    QDir().mkpath(folder.path(QStringLiteral("Skins/Folder.skn")));
    dm->writeSetting(-1, QStringLiteral("Green.skn"));
    TMainFrm* w = open();
    QStringList captions;
    for (QAction* a : w->SkinMenu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, QStringList({QStringLiteral("无"), QStringLiteral("-"), QStringLiteral("Blue.skn"),
                                     QStringLiteral("Green.skn")}));
    QList<QAction*> items = w->SkinMenu->actions();
    EXPECT_FALSE(TMainFrm::isTicked(items[0]));
    EXPECT_FALSE(TMainFrm::isTicked(items[2]));
    EXPECT_TRUE(TMainFrm::isTicked(items[3]));

    items[2]->trigger();
    EXPECT_EQ(dm->readSetting(-1), QStringLiteral("Blue.skn"));
    EXPECT_EQ(folder.skins.loaded.last(), folder.path(QStringLiteral("Skins/Blue.skn")));
    EXPECT_TRUE(TMainFrm::isTicked(items[2]));
    EXPECT_FALSE(TMainFrm::isTicked(items[3]));

    items[0]->trigger();
    EXPECT_EQ(dm->readSetting(-1), QString());
    EXPECT_FALSE(folder.skins.on);
    win.reset();
    w = open();
    EXPECT_TRUE(TMainFrm::isTicked(w->SkinMenu->actions()[0]));

    // A skin whose file is gone: "无" is ticked.
    dm->writeSetting(-1, QStringLiteral("Gone.skn"));
    win.reset();
    w = open();
    EXPECT_TRUE(TMainFrm::isTicked(w->SkinNone));
}

TEST_F(MainFrame, DesktopShortcutHelpAndHooks)
{
    TMainFrm* w = open();
    const QString desktopDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QDir().mkpath(desktopDir);
    folder.messages.clear();
    w->MenuShortcut->trigger();
    QFile f(desktopDir + QStringLiteral("/Zelko家庭理财V2.8.desktop"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]")));
    EXPECT_NE(text.indexOf(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath()), -1);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("创建快捷方式完成！"));

    // The shipped manual is opened with its default program.
    QFile manual(folder.path(QStringLiteral("account.html")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    w->ActHelp->trigger();
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened.first(), QUrl::fromLocalFile(folder.path(QStringLiteral("account.html"))).toString());

    int options = 0, about = 0;
    w->actionHooks.insert(QStringLiteral("Options"), [&] { ++options; });
    w->actionHooks.insert(QStringLiteral("About"), [&] { ++about; });
    w->MenuOptions->trigger();
    w->MenuAbout->trigger();
    EXPECT_EQ(options, 1);
    EXPECT_EQ(about, 1);
}

TEST_F(MainFrame, SplashOnlyWhileSettingEighteenIsZero)
{
    open();
    EXPECT_EQ(splashes, 1);
    win.reset();
    dm->writeSetting(18, QStringLiteral("1"));
    open();
    EXPECT_EQ(splashes, 1);
}

TEST_F(MainFrame, OptionsRefreshTheListUnlessCancelled)
{
    TMainFrm* w = open();
    QStringList refreshed;
    w->listRefreshHook = [&](const QString& b) { refreshed << b; };
    int answer = QDialog::Rejected;
    QString shown;
    w->execDialog = [&](QDialog* d) {
        shown = d->metaObject()->className();
        return answer;
    };
    w->MenuOptions->trigger();
    EXPECT_EQ(shown, QStringLiteral("TOptionsFrm"));
    EXPECT_TRUE(refreshed.isEmpty());
    answer = QDialog::Accepted;
    w->MenuOptions->trigger();
    EXPECT_EQ(refreshed, QStringList{QStringLiteral("1")});
    w->MenuAbout->trigger();
    EXPECT_EQ(shown, QStringLiteral("TAboutFrm"));
}
