// The ledger grid driven by keyboard and mouse: entering, editing, undoing,
// deleting, copying and pasting entries, the refusals when leaving a column,
// sorting by title, leaving the grid, and the two include actions.
#include "grids_fixture.h"

#include "searchforms.h"

#include <QLineEdit>

class LedgerGrid : public GridsFixture {
protected:
    void SetUp() override
    {
        GridsFixture::SetUp();
        outside = new QLineEdit(window.get());
        window->layout()->addWidget(outside);
        pages->ComboBox2->setCurrentIndex(6);
        show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid = pages->DBGridAct;
    }
    void key(int k)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k));
        QApplication::processEvents();
    }
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QApplication::processEvents();
    }
    QString column() const
    {
        const QModelIndex i = grid->currentIndex();
        return i.isValid() ? grid->gridModel()->columns().at(i.column()).columnName() : QString();
    }
    void leaveGrid()
    {
        outside->setFocus();
        QApplication::processEvents();
    }
    int countRows(const QString& where = QStringLiteral("1=1"))
    {
        QueryResult r;
        dm->db().select(QStringLiteral("SELECT count(*) FROM AC_List WHERE UserID = 1 AND ") + where, {}, &r);
        return r.value(0, 0).toInt();
    }

    DBGrid* grid = nullptr;
    QLineEdit* outside = nullptr;
};

TEST_F(LedgerGrid, KeyboardEntersAnExpenseAndATransfer)
{
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    pages->ActInsertExecute();
    ASSERT_EQ(ledger()->state(), RecordSet::Insert);
    EXPECT_TRUE(grid->isEditingMode());
    EXPECT_EQ(column(), QStringLiteral("ActDate"));
    EXPECT_EQ(ledger()->text(QStringLiteral("TypeID")), QStringLiteral("101"));

    key(Qt::Key_Return);
    EXPECT_EQ(column(), QStringLiteral("TypeName2"));
    key(Qt::Key_Space); // 200 转出
    key(Qt::Key_Space); // 201 伙食
    EXPECT_EQ(ledger()->text(QStringLiteral("TypeID2")), QStringLiteral("201"));
    EXPECT_EQ(grid->model()->index(ledger()->currentRow(), 2).data().toString(), QStringLiteral("伙食"));
    key(Qt::Key_Return);
    EXPECT_EQ(column(), QStringLiteral("Mark"));
    type(QStringLiteral("lunch"));
    key(Qt::Key_Return);
    // The income column is closed for an expense: straight to the expense.
    EXPECT_EQ(column(), QStringLiteral("OutAmount"));
    type(QStringLiteral("12.5"));
    key(Qt::Key_Return);
    EXPECT_EQ(column(), QStringLiteral("TypeName"));
    // The running balance is previewed while the row is edited.
    EXPECT_EQ(ledger()->money(QStringLiteral("Balance")), Y(-12.5));
    leaveGrid();
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    ASSERT_EQ(countRows(), 1);
    EXPECT_EQ(countRows(QStringLiteral("TypeID2 = '201' AND OutAmount = 125000 AND Mark = 'lunch'")), 1);
    EXPECT_EQ(grid->footerText(QStringLiteral("TypeName2")), QStringLiteral("1"));
    EXPECT_EQ(grid->footerText(QStringLiteral("OutAmount")), QStringLiteral("12.50"));

    // A transfer of 100 from cash to the card.
    grid->setFocus();
    pages->ActInsertExecute();
    key(Qt::Key_Return);
    while (ledger()->text(QStringLiteral("TypeID2")) != QLatin1String("200"))
        key(Qt::Key_Space);
    key(Qt::Key_Return); // Mark
    key(Qt::Key_Return); // In is closed for a transfer out
    EXPECT_EQ(column(), QStringLiteral("OutAmount"));
    type(QStringLiteral("100"));
    key(Qt::Key_Return);
    key(Qt::Key_Return); // account; Balance is read-only
    EXPECT_EQ(column(), QStringLiteral("RelateTypeName"));
    while (ledger()->text(QStringLiteral("RelateTypeID")) != QLatin1String("102"))
        key(Qt::Key_Space);
    leaveGrid();
    EXPECT_EQ(countRows(QStringLiteral("TypeID = '102' AND TypeID2 = '300' AND InAmount = 1000000")), 1);
    EXPECT_EQ(countRows(QStringLiteral("TypeID = '101' AND TypeID2 = '200' AND Balance = -1125000")), 1);
    // Colours: an expense row on the tooltip background, the balance red when negative.
    const QModelIndex bal = grid->model()->index(0, grid->columnOf(QStringLiteral("Balance")));
    EXPECT_EQ(bal.data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(bal.data(Qt::BackgroundRole).value<QColor>(), QApplication::palette().color(QPalette::ToolTipBase));
}

TEST_F(LedgerGrid, DownOnTheLastRowStoresTheEntryBeingTyped)
{
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    pages->ActInsertExecute();
    key(Qt::Key_Return);
    key(Qt::Key_Space);
    key(Qt::Key_Space); // 201
    key(Qt::Key_Return);
    type(QStringLiteral("bus"));
    key(Qt::Key_Return);
    type(QStringLiteral("3"));
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(countRows(QStringLiteral("TypeID2 = '201' AND OutAmount = 30000 AND Mark = 'bus'")), 1);
    // An untouched new row is dropped the same way.
    pages->ActInsertExecute();
    key(Qt::Key_Down);
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(countRows(), 1);
}

TEST_F(LedgerGrid, RefusalsWhenLeavingTheTypeColumn)
{
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    pages->ActInsertExecute();
    key(Qt::Key_Return);
    ASSERT_EQ(column(), QStringLiteral("TypeName2"));
    folder.messages.clear();
    key(Qt::Key_Return);
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("收支类型不能为空！"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(column(), QStringLiteral("TypeName2"));

    ledger()->setValue(QStringLiteral("TypeID2"), QStringLiteral("299"));
    key(Qt::Key_Tab);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("不是有效的收支类型，请重新输入！"));
    EXPECT_EQ(column(), QStringLiteral("TypeName2"));

    ledger()->setValue(QStringLiteral("TypeID2"), QStringLiteral("301"));
    const int shown = folder.messages.count();
    key(Qt::Key_Return);
    EXPECT_EQ(folder.messages.count(), shown);
    EXPECT_EQ(column(), QStringLiteral("Mark"));
}

TEST_F(LedgerGrid, LeavingTheGridDropsAnUntouchedNewRow)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5);
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    pages->ActInsertExecute();
    EXPECT_EQ(ledger()->recordCount(), 2);
    leaveGrid();
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(ledger()->recordCount(), 1);
    EXPECT_EQ(countRows(), 1);
}

TEST_F(LedgerGrid, EditUndoAndDelete)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QStringLiteral("old"));
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("201"), 0, 6, QStringLiteral("two"));
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    grid->setFocus();

    // Undo of a new row: it disappears.
    pages->ActInsertExecute();
    EXPECT_EQ(ledger()->recordCount(), 3);
    pages->ActUndoExecute();
    EXPECT_EQ(ledger()->recordCount(), 2);
    EXPECT_FALSE(grid->isEditingMode());

    // Undo of an edit: the stored values come back.
    ledger()->setRecNo(1);
    pages->ActEditExecute();
    EXPECT_TRUE(grid->isEditingMode());
    ASSERT_EQ(ledger()->state(), RecordSet::Edit);
    ledger()->setValue(QStringLiteral("Mark"), QStringLiteral("changed"));
    pages->ActUndoExecute();
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(ledger()->text(QStringLiteral("Mark")), QStringLiteral("old"));
    EXPECT_EQ(countRows(QStringLiteral("Mark = 'changed'")), 0);

    // An edit that is kept.
    pages->ActEditExecute();
    ledger()->setValue(QStringLiteral("Mark"), QStringLiteral("kept"));
    leaveGrid();
    EXPECT_EQ(countRows(QStringLiteral("Mark = 'kept'")), 1);

    // Delete asks first; Cancel keeps the entry.
    folder.messages.clear();
    folder.messages.answerNext(MsgAnswer::Cancel);
    pages->ActDelExecute();
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("确实要删除这条记录吗？"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Question);
    EXPECT_EQ(folder.messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(countRows(), 2);
    pages->ActDelExecute();
    EXPECT_EQ(countRows(), 1);
    EXPECT_EQ(ledger()->recordCount(), 1);
    EXPECT_EQ(grid->footerText(QStringLiteral("TypeName2")), QStringLiteral("1"));

    // Deleting a row that is still being entered only drops that row.
    pages->ActInsertExecute();
    ASSERT_EQ(ledger()->recordCount(), 2);
    pages->ActDelExecute();
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(ledger()->recordCount(), 1);
    EXPECT_EQ(countRows(), 1);
}

TEST_F(LedgerGrid, CopyAndPasteUseTheLedgerSlot)
{
    addEntry(1, {2026, 12, 1}, QStringLiteral("101"), QStringLiteral("202"), 0, 7.25, QStringLiteral("bus"));
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    // Not focused: nothing is copied.
    outside->setFocus();
    pages->ActCopyExecute();
    EXPECT_TRUE(pages->recordSlots().ledger.isEmpty());
    grid->setFocus();
    pages->ActCopyExecute();
    EXPECT_EQ(pages->recordSlots().ledger.value(QStringLiteral("Mark")).toString(), QStringLiteral("bus"));
    EXPECT_TRUE(pages->recordSlots().address.isEmpty());

    pages->ActPasteExecute();
    ASSERT_EQ(ledger()->state(), RecordSet::Insert);
    EXPECT_EQ(ledger()->text(QStringLiteral("TypeID2")), QStringLiteral("202"));
    EXPECT_EQ(ledger()->date(QStringLiteral("ActDate")), QDate(2026, 12, 1));
    EXPECT_EQ(ledger()->money(QStringLiteral("OutAmount")), Y(7.25));
    EXPECT_EQ(ledger()->money(QStringLiteral("Balance")), Y(-7.25)); // the stored entry has no balance yet
    leaveGrid();
    EXPECT_EQ(countRows(QStringLiteral("Mark = 'bus'")), 2);
}

TEST_F(LedgerGrid, SortingByEachTitleThreeTimes)
{
    addEntry(1, {2026, 12, 1}, QStringLiteral("101"), QStringLiteral("201"), 0, 5);
    addEntry(2, {2026, 12, 3}, QStringLiteral("102"), QStringLiteral("301"), 8, 0);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    QHeaderView* h = grid->horizontalHeader();
    struct Case {
        QString column, asc, desc;
    } cases[] = {
        {QStringLiteral("ActDate"), QStringLiteral("ActDate ASC, ActID ASC, TypeID2 ASC"),
         QStringLiteral("ActDate DESC, ActID DESC, TypeID2 DESC")},
        {QStringLiteral("TypeName2"), QStringLiteral("TypeID2 ASC, ActDate ASC, ActID ASC"),
         QStringLiteral("TypeID2 DESC, ActDate ASC, ActID ASC")},
        {QStringLiteral("Mark"), QStringLiteral("Mark ASC"), QStringLiteral("Mark DESC")},
        {QStringLiteral("InAmount"), QStringLiteral("InAmount ASC"), QStringLiteral("InAmount DESC")},
        {QStringLiteral("OutAmount"), QStringLiteral("OutAmount ASC"), QStringLiteral("OutAmount DESC")},
        {QStringLiteral("TypeName"), QStringLiteral("TypeID ASC, ActDate ASC, ActID ASC"),
         QStringLiteral("TypeID DESC, ActDate ASC, ActID ASC")},
        {QStringLiteral("Balance"), QStringLiteral("Balance ASC"), QStringLiteral("Balance DESC")},
    };
    for (const Case& c : cases) {
        const int col = grid->columnOf(c.column);
        ASSERT_GE(col, 0);
        const QPoint at(h->sectionViewportPosition(col) + 5, h->height() / 2);
        const QString expected[] = {c.asc, c.desc, c.asc};
        // The date column starts ascending, so its first click turns it descending.
        const int offset = c.column == QLatin1String("ActDate") && grid->marker(col) == DBGrid::Ascending ? 1 : 0;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
            EXPECT_EQ(ledger()->sort(), expected[(i + offset) % 2 == 0 ? 0 : 1]) << c.column.toStdString() << " " << i;
            EXPECT_EQ(grid->markedColumn(), col);
        }
    }
    // Columns without a title button keep the marker where it was.
    const int marked = grid->markedColumn();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(grid->columnOf(QStringLiteral("Included"))) + 5, 5));
    EXPECT_EQ(grid->markedColumn(), marked);

    // Sorted descending by date: a new row goes before the current row.
    grid->setMarker(grid->columnOf(QStringLiteral("ActDate")), DBGrid::Ascending);
    grid->titleClick(grid->columnOf(QStringLiteral("ActDate")));
    ASSERT_TRUE(grid->anyDescending());
    EXPECT_EQ(ledger()->value(0, QStringLiteral("ActID")).toInt(), 2);
    ledger()->setRecNo(2);
    grid->setFocus();
    pages->ActInsertExecute();
    EXPECT_EQ(ledger()->currentRow(), 1);
    EXPECT_EQ(ledger()->value(2, QStringLiteral("ActID")).toInt(), 1);
    pages->ActUndoExecute();
    // Ascending: appended at the end.
    grid->titleClick(grid->columnOf(QStringLiteral("ActDate")));
    ledger()->setRecNo(1);
    pages->ActInsertExecute();
    EXPECT_EQ(ledger()->currentRow(), 2);
    pages->ActUndoExecute();
    // A re-query keeps the marker and its order.
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(ledger()->sort(), QStringLiteral("ActDate ASC, ActID ASC, TypeID2 ASC"));
}

TEST_F(LedgerGrid, IncludeActions)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("200"), 0, 5, QString(), false);
    addEntry(1, today, QStringLiteral("102"), QStringLiteral("300"), 5, 0, QString(), false);
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QString(), false);
    addEntry(3, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QString(), false, 2);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    dm->writeSetting(2, QStringLiteral("0"));
    pages->ActTransferVisibleExecute();
    EXPECT_EQ(dm->readSetting(2), QStringLiteral("1"));
    EXPECT_TRUE(ticked);
    EXPECT_EQ(countRows(QStringLiteral("Included = 1")), 2);
    pages->ActTransferVisibleExecute();
    EXPECT_EQ(dm->readSetting(2), QStringLiteral("0"));
    EXPECT_FALSE(ticked);
    EXPECT_EQ(countRows(QStringLiteral("Included = 1")), 0);

    pages->ActSelectAllExecute();
    EXPECT_EQ(countRows(QStringLiteral("Included = 1")), 3);
    EXPECT_EQ(dm->readSetting(2), QStringLiteral("1"));
    EXPECT_TRUE(ticked);
    // Another user's entries are never touched.
    QueryResult r;
    dm->db().select(QStringLiteral("SELECT Included FROM AC_List WHERE UserID = 2"), {}, &r);
    EXPECT_FALSE(r.boolean(0, QStringLiteral("Included")));
    EXPECT_EQ(grid->footerText(QStringLiteral("TypeName2")), QStringLiteral("3"));
}

TEST_F(LedgerGrid, TickingCountedPostsAtOnceOnlyInRowSelection)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QStringLiteral("one"));
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("201"), 0, 6, QStringLiteral("two"));
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    grid->setFocus();
    const int inc = grid->columnOf(QStringLiteral("Included"));
    auto tick = [&](bool on) {
        const QModelIndex i = grid->gridModel()->index(ledger()->currentRow(), inc);
        return grid->gridModel()->setData(i, on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    };

    // Row selection: the tick is stored at once.
    ledger()->setRecNo(1);
    ASSERT_TRUE(tick(false));
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(countRows(QStringLiteral("ActID = 1 AND Included = 0")), 1);

    // An entry opened by the edit command is in cell editing: the tick is part
    // of the edit, which the user may still undo.
    ledger()->setRecNo(2);
    pages->ActEditExecute();
    ledger()->setValue(QStringLiteral("Mark"), QStringLiteral("half typed"));
    ASSERT_TRUE(tick(false));
    EXPECT_EQ(ledger()->state(), RecordSet::Edit);
    EXPECT_EQ(countRows(QStringLiteral("Mark = 'half typed'")), 0);
    pages->ActUndoExecute();
    EXPECT_EQ(countRows(QStringLiteral("ActID = 2 AND Included = 1 AND Mark = 'two'")), 1);

    // After a new entry is stored the grid is back in row selection, and a
    // tick is stored at once again.
    pages->ActInsertExecute();
    ledger()->setValue(QStringLiteral("TypeID2"), QStringLiteral("201"));
    ledger()->setValue(QStringLiteral("OutAmount"), QVariant::fromValue(Y(7)));
    ASSERT_TRUE(ledger()->post());
    EXPECT_FALSE(grid->isEditingMode());
    ledger()->setRecNo(2);
    ASSERT_EQ(ledger()->integer(QStringLiteral("ActID")), 2);
    ASSERT_TRUE(tick(false));
    EXPECT_EQ(ledger()->state(), RecordSet::Browse);
    EXPECT_EQ(countRows(QStringLiteral("ActID = 2 AND Included = 0")), 1);
}

TEST_F(LedgerGrid, MovingToAnotherRowAfterAnEditThatMovesTheEntryLandsOnTheClickedEntry)
{
    addEntry(1, today.addDays(-3), QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("a"));
    addEntry(2, today.addDays(-2), QStringLiteral("101"), QStringLiteral("201"), 0, 2, QStringLiteral("b"));
    addEntry(3, today.addDays(-1), QStringLiteral("101"), QStringLiteral("201"), 0, 3, QStringLiteral("c"));
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    grid->setFocus();
    ASSERT_EQ(ledger()->value(0, QStringLiteral("ActID")).toInt(), 1);
    const int mark = grid->columnOf(QStringLiteral("Mark"));
    grid->setCurrentIndex(grid->gridModel()->index(0, mark));
    pages->ActEditExecute();
    ASSERT_EQ(ledger()->integer(QStringLiteral("ActID")), 1);
    // The first entry moves to the end of the list when it is stored.
    ledger()->setValue(QStringLiteral("ActDate"), today);
    // The user clicks the entry "b".
    grid->setCurrentIndex(grid->gridModel()->index(1, mark));
    QApplication::processEvents();
    EXPECT_EQ(countRows(QStringLiteral("ActID = 1 AND ActDate = '") + today.toString(Qt::ISODate) + "'"), 1);
    EXPECT_EQ(ledger()->text(QStringLiteral("Mark")), QStringLiteral("b"));
    EXPECT_EQ(ledger()->value(grid->currentIndex().row(), QStringLiteral("Mark")).toString(), QStringLiteral("b"));
}

TEST_F(LedgerGrid, ARefusedRowIsKeptWhenTheViewIsAskedToChange)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QStringLiteral("old"));
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    dm->writeSetting(5, QStringLiteral("0"));
    pages->ComboBox1->setCurrentIndex(0);
    grid->setFocus();
    pages->ActInsertExecute();
    ledger()->setValue(QStringLiteral("TypeID2"), QStringLiteral("201"));
    ledger()->setValue(QStringLiteral("Mark"), QStringLiteral("typed"));
    ASSERT_FALSE(ledger()->post()); // no amount yet: refused, still being typed
    ASSERT_EQ(ledger()->state(), RecordSet::Insert);

    // The Included filter, the date range and a search leave the row alone.
    pages->ComboBox1->setCurrentIndex(1);
    emit pages->ComboBox1->activated(1);
    EXPECT_EQ(pages->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(dm->readSetting(5), QStringLiteral("0"));
    const int range = pages->ComboBox2->currentIndex();
    dm->writeSetting(6, QString::number(range));
    pages->ComboBox2->setCurrentIndex(3);
    emit pages->ComboBox2->activated(3);
    EXPECT_EQ(pages->ComboBox2->currentIndex(), range);
    pages->ActSearchFrm->prepare();
    pages->ActSearchFrm->SearchButtonClick();
    EXPECT_EQ(ledger()->state(), RecordSet::Insert);
    // So do the two include actions, which re-read the ledger.
    dm->writeSetting(2, QStringLiteral("1"));
    pages->ActSelectAllExecute();
    pages->ActTransferVisibleExecute();
    EXPECT_EQ(dm->readSetting(2), QStringLiteral("1"));
    EXPECT_EQ(ledger()->state(), RecordSet::Insert);
    EXPECT_EQ(ledger()->text(QStringLiteral("Mark")), QStringLiteral("typed"));

    // Completed, it is stored as usual.
    ledger()->setValue(QStringLiteral("OutAmount"), QVariant::fromValue(Y(2)));
    ASSERT_TRUE(ledger()->post());
    EXPECT_EQ(countRows(QStringLiteral("Mark = 'typed' AND OutAmount = 20000")), 1);
}
