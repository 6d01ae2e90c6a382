// The plan grid (start-date correction, refusals, system rows, clipboard),
// the fulfilment grid, and the address-book and favourites grids with their
// links and record actions.
#include "grids_fixture.h"

#include <QLineEdit>
#include <QScrollBar>

class PlanAndSide : public GridsFixture {
protected:
    void SetUp() override
    {
        GridsFixture::SetUp();
        outside = new QLineEdit(window.get());
        window->layout()->addWidget(outside);
        show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void key(int k)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k));
        QApplication::processEvents();
    }
    void focusCell(DBGrid* g, const QString& column)
    {
        g->setFocus();
        g->setCurrentIndex(g->model()->index(g->recordSet()->currentRow(), g->columnOf(column)));
    }
    QLineEdit* outside = nullptr;
};

TEST(PlanStartDate, Corrections)
{
    const QDate today(2026, 7, 9);
    struct Case {
        QString in, out;
    } cases[] = {
        {QStringLiteral("2009-2-30"), QStringLiteral("2009-2-28")},
        {QStringLiteral("2008-2-30"), QStringLiteral("2008-2-29")},
        {QStringLiteral("2008-2-5"), QStringLiteral("2008-2-5")},
        {QStringLiteral("2008-13-40"), QStringLiteral("2008-12-31")},
        {QStringLiteral("2008-0-0"), QStringLiteral("2008-1-1")},
        {QStringLiteral("2008-04-31"), QStringLiteral("2008-4-30")},
        {QStringLiteral("    - 3-  "), QStringLiteral("2026-3-9")},
        {QStringLiteral("2010-  -  "), QStringLiteral("2010-7-9")},
    };
    for (const Case& c : cases) {
        QString out;
        ASSERT_TRUE(GridPages::correctStartDate(c.in, today, &out)) << c.in.toStdString();
        EXPECT_EQ(out, c.out) << c.in.toStdString();
    }
    QString out;
    EXPECT_FALSE(GridPages::correctStartDate(QStringLiteral("20a8-1-1"), today, &out));
    EXPECT_FALSE(GridPages::correctStartDate(QStringLiteral("2008-x-1"), today, &out));
}

TEST_F(PlanAndSide, PlanStartDateCellIsCorrectedOrRefused)
{
    selectNode(QStringLiteral("4"), QStringLiteral("0"));
    DBGrid* g = pages->DBGridPlan;
    RecordSet* rs = dm->ADOTable2;
    ASSERT_EQ(rs->recordCount(), 2);
    rs->setRecNo(1);
    g->setFocus();
    pages->ActEditExecute();
    ASSERT_EQ(rs->state(), RecordSet::Edit);
    const QModelIndex cell = g->model()->index(0, g->columnOf(QStringLiteral("StartDate")));
    EXPECT_TRUE(g->model()->setData(cell, QStringLiteral("2009-2 -30")));
    EXPECT_EQ(rs->date(QStringLiteral("StartDate")), QDate(2009, 2, 28));
    folder.messages.clear();
    EXPECT_FALSE(g->model()->setData(cell, QStringLiteral("2009-x-30")));
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(folder.messages.last().text,
              QStringLiteral("日期{2009-x-30}输入错误，请与") + TDataModule1::supportAddress() + QStringLiteral("联系"));
    EXPECT_EQ(rs->date(QStringLiteral("StartDate")), QDate(2009, 2, 28));
    pages->ActUndoExecute();
}

TEST_F(PlanAndSide, PlanRefusalsWhenLeavingAColumn)
{
    selectNode(QStringLiteral("4"), QStringLiteral("0"));
    DBGrid* g = pages->DBGridPlan;
    RecordSet* rs = dm->ADOTable2;
    // Row 1: months below 1.
    rs->setRecNo(1);
    g->setFocus();
    pages->ActEditExecute();
    focusCell(g, QStringLiteral("Months"));
    rs->setValue(QStringLiteral("Months"), 0);
    folder.messages.clear();
    key(Qt::Key_Return);
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("月数不能小于1！"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(g->gridModel()->columns().at(g->currentIndex().column()).field, QStringLiteral("Months"));
    pages->ActUndoExecute();

    // A new row: its kind must be one of the list.
    pages->ActInsertExecute();
    ASSERT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(g->gridModel()->columns().at(g->currentIndex().column()).field, QStringLiteral("Type"));
    folder.messages.clear();
    key(Qt::Key_Return);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("类别不能为空！"));
    rs->setValue(QStringLiteral("Type"), QStringLiteral("单项"));
    key(Qt::Key_Return);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("类别不在指定范围内，请重新输入！"));
    EXPECT_EQ(folder.messages.count(), 2);
    // Space steps through the pick list; a fixed kind takes row 1's months.
    key(Qt::Key_Space);
    EXPECT_EQ(rs->text(QStringLiteral("Type")), QStringLiteral("固定收入"));
    rs->setValue(QStringLiteral("Amount"), QVariant::fromValue(Y(100)));
    key(Qt::Key_Return);
    EXPECT_EQ(rs->integer(QStringLiteral("Months")), 12);
    EXPECT_EQ(rs->money(QStringLiteral("Total")), Y(1200));
    focusCell(g, QStringLiteral("Type"));
    key(Qt::Key_Space);
    key(Qt::Key_Space);
    EXPECT_EQ(rs->text(QStringLiteral("Type")), QStringLiteral("单项收入"));
    key(Qt::Key_Return);
    EXPECT_EQ(rs->integer(QStringLiteral("Months")), 1);
    EXPECT_EQ(rs->money(QStringLiteral("Total")), Y(100));
    outside->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(rs->state(), RecordSet::Browse);
    EXPECT_EQ(rs->recordCount(), 3);
    // Colours: system rows sky blue, income rows money green with green amounts.
    EXPECT_EQ(g->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(166, 202, 240));
    EXPECT_EQ(g->model()->index(2, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 220, 192));
    EXPECT_EQ(g->model()->index(2, g->columnOf(QStringLiteral("Amount"))).data(Qt::ForegroundRole).value<QColor>(),
              QColor(0, 128, 0));
}

TEST_F(PlanAndSide, PlanSystemRowsAndClipboard)
{
    dm->db().exec(QStringLiteral("INSERT INTO AC_Plan VALUES (3, '固定支出', '房租', 15000000, NULL, 12, 180000000, 1)"));
    dm->ADOTable2->reopen();
    selectNode(QStringLiteral("4"), QStringLiteral("0"));
    DBGrid* g = pages->DBGridPlan;
    RecordSet* rs = dm->ADOTable2;
    ASSERT_EQ(rs->recordCount(), 3);
    g->setFocus();
    // Row 3 copied, then row 1: the system row leaves the slot as it was.
    rs->setRecNo(3);
    pages->ActCopyExecute();
    rs->setRecNo(1);
    pages->ActCopyExecute();
    EXPECT_EQ(pages->recordSlots().plan.value(QStringLiteral("Description")).toString(), QStringLiteral("房租"));
    pages->ActPasteExecute();
    ASSERT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->text(QStringLiteral("Type")), QStringLiteral("固定支出"));
    EXPECT_EQ(rs->money(QStringLiteral("Amount")), Y(1500));
    EXPECT_EQ(rs->integer(QStringLiteral("ID")), 4);
    pages->ActUndoExecute();
    EXPECT_EQ(rs->recordCount(), 3);

    // Deleting a system row is refused after the question.
    rs->setRecNo(2);
    folder.messages.clear();
    pages->ActDelExecute();
    ASSERT_EQ(folder.messages.count(), 2);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("系统记录不允许删除！"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(rs->recordCount(), 3);
    rs->setRecNo(3);
    pages->ActDelExecute();
    EXPECT_EQ(rs->recordCount(), 2);
}

TEST_F(PlanAndSide, FulfilmentRowsAlternateAndFootersFollowTheSign)
{
    dm->db().exec(QStringLiteral("UPDATE AC_Plan SET Amount = 10000000, Total = 120000000 WHERE ID = 1"));
    addEntry(1, {2026, 1, 5}, QStringLiteral("101"), QStringLiteral("301"), 500, 0);
    addEntry(2, {2026, 2, 5}, QStringLiteral("101"), QStringLiteral("201"), 0, 200);
    addEntry(3, {2026, 3, 5}, QStringLiteral("103"), QStringLiteral("301"), 900, 0); // off-book
    selectNode(QStringLiteral("4"), QStringLiteral("0"));
    DBGrid* f = pages->DBGridFullfill;
    ASSERT_EQ(f->model()->rowCount(), 2);
    EXPECT_EQ(f->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 245, 232));
    EXPECT_EQ(f->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(238, 254, 218));
    EXPECT_EQ(f->model()->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(f->footerText(QStringLiteral("MonthNo")), QStringLiteral("合计"));
    EXPECT_EQ(f->footerText(QStringLiteral("SaveAmount")), QStringLiteral("300.00"));
    EXPECT_EQ(pages->TotalSaveStaticText->text(), QStringLiteral("12,000.00"));
    EXPECT_EQ(pages->DepositStaticText->text(), QStringLiteral("1,000.00"));
}

TEST_F(PlanAndSide, AddressBookRowsAndLinks)
{
    dm->db().exec(QStringLiteral("INSERT INTO AC_Address (ID, Name, TypeID, Email, Homepage, UserID) VALUES "
                                 "(1, '张三', '501', 'zs@example.com', 'www.example.com', 1), "
                                 "(2, '李四', '502', '', '', 1)"));
    dm->ADOTable3->reopen();
    selectNode(QStringLiteral("501"), QStringLiteral("5"));
    DBGrid* g = pages->DBGridAddr;
    RecordSet* rs = dm->ADOTable3;
    ASSERT_EQ(rs->recordCount(), 1);
    auto click = [g](int row, const QString& column) {
        const QRect r = g->visualRect(g->model()->index(row, g->columnOf(column)));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
    };
    g->scrollTo(g->model()->index(0, g->columnOf(QStringLiteral("Email"))));
    click(0, QStringLiteral("Email"));
    click(0, QStringLiteral("Homepage"));
    EXPECT_EQ(desktop.opened, (QStringList{QStringLiteral("Mailto:zs@example.com"), QStringLiteral("www.example.com")}));
    click(0, QStringLiteral("Name"));
    EXPECT_EQ(desktop.opened.size(), 2);

    // In editing state a click opens nothing.
    g->setFocus();
    pages->ActEditExecute();
    g->scrollTo(g->model()->index(0, g->columnOf(QStringLiteral("Email"))));
    click(0, QStringLiteral("Email"));
    EXPECT_EQ(desktop.opened.size(), 2);
    pages->ActUndoExecute();

    // A new row takes the selected group; the copy fills only the address slot.
    g->setFocus();
    pages->ActCopyExecute();
    EXPECT_TRUE(pages->recordSlots().ledger.isEmpty());
    pages->ActPasteExecute();
    ASSERT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->text(QStringLiteral("Email")), QStringLiteral("zs@example.com"));
    rs->setValue(QStringLiteral("Name"), QStringLiteral("张三丰"));
    outside->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(rs->state(), RecordSet::Browse);
    QueryResult r;
    dm->db().select(QStringLiteral("SELECT TypeID FROM AC_Address WHERE Name = '张三丰'"), {}, &r);
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, QStringLiteral("TypeID")), QStringLiteral("501"));

    g->setFocus();
    pages->ActInsertExecute();
    EXPECT_EQ(rs->text(QStringLiteral("TypeID")), QStringLiteral("501"));
    pages->ActUndoExecute();

    // Scrolled sideways, the name column stays; a click on it selects its row.
    g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_TRUE(g->frozenView() && g->frozenView()->isVisible());
    rs->setRecNo(1);
    QTableView* fz = g->frozenView();
    QTest::mouseClick(fz->viewport(), Qt::LeftButton, {}, fz->visualRect(fz->model()->index(1, 0)).center());
    EXPECT_EQ(rs->recNo(), 2);
    g->horizontalScrollBar()->setValue(0);
    QApplication::processEvents();
    EXPECT_FALSE(fz->isVisible());

    // Sorting by the group column: TypeID, then Name.
    g->titleClick(g->columnOf(QStringLiteral("TypeName")));
    EXPECT_EQ(rs->sort(), QStringLiteral("TypeID ASC, Name ASC"));
    g->titleClick(g->columnOf(QStringLiteral("TypeName")));
    EXPECT_EQ(rs->sort(), QStringLiteral("TypeID DESC, Name ASC"));

    // Delete after the question.
    const int before = rs->recordCount();
    pages->ActDelExecute();
    EXPECT_EQ(rs->recordCount(), before - 1);
    // Alternate row colours.
    EXPECT_EQ(g->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(254, 216, 238));
}

TEST_F(PlanAndSide, FavouritesRowsAndLinks)
{
    dm->db().exec(QStringLiteral("INSERT INTO AC_Memo (ID, Name, TypeID, URL, Description, UserID) VALUES "
                                 "(1, '新浪', '601', 'sina.com.cn', '', 1), (2, '空', '601', '', '', 1)"));
    dm->ADOTable4->reopen();
    selectNode(QStringLiteral("6"), QStringLiteral("0"));
    DBGrid* g = pages->DBGridMemo;
    RecordSet* rs = dm->ADOTable4;
    ASSERT_EQ(rs->recordCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const QRect r = g->visualRect(g->model()->index(row, g->columnOf(QStringLiteral("URL"))));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("sina.com.cn")}); // as typed, no scheme added

    g->setFocus();
    pages->ActInsertExecute();
    ASSERT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_TRUE(g->isEditingMode());
    rs->setValue(QStringLiteral("Name"), QStringLiteral("网易"));
    rs->setValue(QStringLiteral("TypeID"), QStringLiteral("601"));
    pages->ActEditExecute(); // already editing: stays
    outside->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(rs->recordCount(), 3);
    ASSERT_TRUE(rs->locate(QStringLiteral("Name"), QStringLiteral("网易")));
    g->setFocus();
    pages->ActEditExecute();
    rs->setValue(QStringLiteral("URL"), QStringLiteral("163.com"));
    pages->ActUndoExecute();
    EXPECT_EQ(rs->text(QStringLiteral("URL")), QString());
    EXPECT_EQ(g->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(228, 255, 225));
    EXPECT_EQ(g->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 245, 232));
}

TEST_F(PlanAndSide, LinksOpenOnlyWebAddresses)
{
    // Rows may come from an imported file: a click must not start a local program.
    dm->db().exec(QStringLiteral(
        "INSERT INTO AC_Memo (ID, Name, TypeID, URL, Description, UserID) VALUES "
        "(1, 'a', '601', 'file:///tmp/run.desktop', '', 1), (2, 'b', '601', '/usr/bin/xterm', '', 1), "
        "(3, 'c', '601', 'https://example.com/x', '', 1), (4, 'd', '601', 'ftp.example.com', '', 1), "
        "(5, 'e', '601', 'javascript:alert(1)', '', 1)"));
    dm->ADOTable4->reopen();
    selectNode(QStringLiteral("6"), QStringLiteral("0"));
    DBGrid* g = pages->DBGridMemo;
    ASSERT_EQ(dm->ADOTable4->recordCount(), 5);
    for (int row = 0; row < 5; ++row) {
        const QRect r = g->visualRect(g->model()->index(row, g->columnOf(QStringLiteral("URL"))));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    EXPECT_EQ(desktop.opened, (QStringList{QStringLiteral("https://example.com/x"), QStringLiteral("ftp.example.com")}));
}

TEST_F(PlanAndSide, TheSelectedGroupIsRememberedForLaterNewRows)
{
    const struct {
        RecordSet* rs;
        DBGrid* g;
        QString group, root, rootFlag;
    } cases[] = {{dm->ADOTable3, pages->DBGridAddr, QStringLiteral("502"), QStringLiteral("5"), QStringLiteral("0")},
                 {dm->ADOTable4, pages->DBGridMemo, QStringLiteral("601"), QStringLiteral("6"), QStringLiteral("0")}};
    for (const auto& c : cases) {
        selectNode(c.group, c.root);
        c.g->setFocus();
        pages->ActInsertExecute();
        ASSERT_EQ(c.rs->state(), RecordSet::Insert);
        EXPECT_EQ(c.rs->text(QStringLiteral("TypeID")), c.group);
        pages->ActUndoExecute();
        // On the root the next new row still starts in that group.
        selectNode(c.root, c.rootFlag);
        c.g->setFocus();
        pages->ActInsertExecute();
        EXPECT_EQ(c.rs->text(QStringLiteral("TypeID")), c.group) << c.root.toStdString();
        pages->ActUndoExecute();
    }
}
