// The ledger view's date ranges and criteria, the Included filter, the
// footers, literal searches, and the three search windows.
#include "grids_fixture.h"
#include "searchforms.h"

#include <QLineEdit>
#include <QPushButton>

using Filters = GridsFixture;

TEST_F(Filters, DateRangesOfEachChoice)
{
    struct Case {
        QDate today;
        int index;
        QDate start, end;
        QString caption;
    } cases[] = {
        {{2026, 12, 13}, 2, {2026, 12, 7}, {2026, 12, 13}, QStringLiteral("2026年12月7日 - 2026年12月13日")}, // Sunday
        {{2026, 12, 7}, 2, {2026, 12, 7}, {2026, 12, 13}, QString()},                                      // Monday
        {{2008, 5, 15}, 4, {2008, 4, 1}, {2008, 6, 30}, QStringLiteral("2008年4月1日 - 2008年6月30日")},
        {{2008, 12, 31}, 4, {2008, 10, 1}, {2008, 12, 31}, QString()},
        {{2008, 3, 5}, 1, {2008, 3, 5}, {2008, 3, 5}, QStringLiteral("2008年3月5日 - 2008年3月5日")},
        {{2008, 2, 10}, 3, {2008, 2, 1}, {2008, 2, 29}, QString()},
        {{2008, 2, 10}, 5, {2008, 1, 1}, {2008, 12, 31}, QString()},
        {{2008, 2, 10}, 6, QDate(), QDate(), QStringLiteral(" - ")},
    };
    for (const Case& c : cases) {
        today = c.today;
        pages->filters.computeDateRange(c.index, GridNode{QStringLiteral("1"), QStringLiteral("0")});
        EXPECT_EQ(dm->viewStart, c.start) << c.index << " " << c.today.toString().toStdString();
        EXPECT_EQ(dm->viewEnd, c.end) << c.index;
        if (!c.caption.isEmpty())
            EXPECT_EQ(pages->filters.rangeCaption(), c.caption);
    }
}

TEST_F(Filters, AllRecordsHasNoDateConditionAndShowsEveryEntry)
{
    addEntry(1, {1999, 1, 1}, QStringLiteral("101"), QStringLiteral("201"), 0, 5);
    addEntry(2, {2026, 12, 1}, QStringLiteral("101"), QStringLiteral("201"), 0, 5);
    pages->ComboBox2->setCurrentIndex(6);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_FALSE(dm->viewCondition.contains(QStringLiteral("ActDate")));
    EXPECT_EQ(pages->DateRangeStaticText->text(), QStringLiteral(" - "));
    EXPECT_EQ(ledger()->recordCount(), 2);
    EXPECT_EQ(status1, QStringLiteral("记录数：2"));
}

TEST_F(Filters, DefaultRecordsWidenToTheKthEntry)
{
    // 40 entries, one every 10 days back from today: only 3 in the last 30 days.
    for (int i = 0; i < 40; ++i)
        addEntry(i + 1, today.addDays(-10 * i), QStringLiteral("101"), QStringLiteral("201"), 0, 1);
    // Another user's entries never count.
    for (int i = 0; i < 10; ++i)
        addEntry(100 + i, today.addDays(-i), QStringLiteral("101"), QStringLiteral("201"), 0, 1, QString(), true, 2);
    pages->ComboBox2->setCurrentIndex(0);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(dm->viewStart, today.addDays(-290)); // the 30th most recent entry
    EXPECT_EQ(ledger()->recordCount(), 30);

    // With enough entries in the last N days the range stays N days.
    dm->writeSetting(14, QStringLiteral("3"));
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(dm->viewStart, today.addDays(-30));
    EXPECT_EQ(ledger()->recordCount(), 4);

    // A category without entries: the range stays today - N and the list is empty.
    selectNode(QStringLiteral("202"), QStringLiteral("2"));
    EXPECT_EQ(dm->viewStart, today.addDays(-30));
    EXPECT_EQ(ledger()->recordCount(), 0);
}

TEST_F(Filters, NodesChooseTheEntries)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5);
    addEntry(2, today, QStringLiteral("102"), QStringLiteral("202"), 0, 6);
    addEntry(3, today, QStringLiteral("102"), QStringLiteral("301"), 7, 0);
    pages->ComboBox2->setCurrentIndex(6);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(ledger()->recordCount(), 3);
    selectNode(QStringLiteral("102"), QStringLiteral("1"));
    EXPECT_EQ(ledger()->recordCount(), 2);
    selectNode(QStringLiteral("2"), QStringLiteral("0"));
    EXPECT_EQ(ledger()->recordCount(), 2);
    selectNode(QStringLiteral("201"), QStringLiteral("2"));
    EXPECT_EQ(ledger()->recordCount(), 1);
    selectNode(QStringLiteral("3"), QStringLiteral("0"));
    EXPECT_EQ(ledger()->recordCount(), 1);
}

TEST_F(Filters, IncludedFilterReplacesOnlyItsOwnCondition)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QString(), true);
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("201"), 0, 6, QString(), false);
    dm->writeSetting(5, QStringLiteral("1"));
    pages->ComboBox2->setCurrentIndex(3);
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    const QString before = dm->viewCondition;
    ASSERT_TRUE(before.endsWith(QStringLiteral("AND (Included = 1) ")));
    EXPECT_EQ(ledger()->recordCount(), 1);

    pages->ComboBox1->setCurrentIndex(2);
    pages->ComboBox1Change(2);
    EXPECT_EQ(dm->readSetting(5), QStringLiteral("2"));
    const QString kept = before.left(before.indexOf(QStringLiteral("AND (Included")));
    EXPECT_TRUE(kept.endsWith(QStringLiteral("AND (TypeID in (?)) ")));
    EXPECT_EQ(dm->viewCondition, kept + QStringLiteral("AND (Included = 0) "));
    EXPECT_EQ(ledger()->recordCount(), 1);
    EXPECT_EQ(ledger()->value(0, QStringLiteral("ActID")).toInt(), 2);

    pages->ComboBox1Change(0);
    EXPECT_EQ(dm->viewCondition, kept);
    EXPECT_EQ(ledger()->recordCount(), 2);
}

TEST_F(Filters, FootersCountOnlyIncludedEntriesOfTheView)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QString(), false);
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("301"), 9, 0, QString(), false);
    addEntry(3, today, QStringLiteral("102"), QStringLiteral("201"), 0, 1, QString(), true);
    // No view yet: nothing computed.
    EXPECT_FALSE(pages->filters.ledgerFooters().computed);
    pages->ComboBox2->setCurrentIndex(6);
    selectNode(QStringLiteral("101"), QStringLiteral("1"));
    EXPECT_EQ(ledger()->recordCount(), 2);
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("TypeName2")), QStringLiteral("0"));
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("InAmount")), QString());
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("OutAmount")), QString());
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("ActDate")), QStringLiteral("合计"));

    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("TypeName2")), QStringLiteral("1"));
    EXPECT_EQ(pages->DBGridAct->footerText(QStringLiteral("OutAmount")), QStringLiteral("1.00"));
}

TEST_F(Filters, DescriptionSearchMatchesQuotesAndWildcardsLiterally)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("打五折 50%"));
    addEntry(2, today, QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("a_b"));
    addEntry(3, today, QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("O'Brien"));
    addEntry(4, today, QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("aXb 50"));
    addEntry(5, today, QStringLiteral("101"), QStringLiteral("201"), 0, 1, QStringLiteral("别人的 50% a_b O'Brien"),
             true, 2);
    struct Case {
        QString text;
        QList<int> ids;
    } cases[] = {{QStringLiteral("%"), {1}},       {QStringLiteral("_"), {2}},        {QStringLiteral("'"), {3}},
                 {QStringLiteral("a_b"), {2}},     {QStringLiteral("O'Brien"), {3}}, {QStringLiteral("50"), {1, 4}},
                 {QStringLiteral("' OR 1=1 --"), {}}};
    for (const Case& c : cases) {
        RecordFilters::LedgerQuery q;
        q.description = c.text;
        ASSERT_TRUE(pages->filters.runLedgerQuery(q));
        QList<int> ids;
        for (int r = 0; r < ledger()->recordCount(); ++r)
            ids << ledger()->value(r, QStringLiteral("ActID")).toInt();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, c.ids) << c.text.toStdString();
    }
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(Filters, LedgerSearchWindow)
{
    addEntry(1, today, QStringLiteral("101"), QStringLiteral("201"), 0, 5, QStringLiteral("午饭"));
    addEntry(2, today, QStringLiteral("102"), QStringLiteral("301"), 80, 0, QStringLiteral("工资"));
    addEntry(3, today.addDays(-40), QStringLiteral("102"), QStringLiteral("202"), 0, 3, QStringLiteral("车费"));
    TActSearchFrm* f = pages->ActSearchFrm;
    f->prepare();
    // The window starts at today - 30 .. today.
    EXPECT_EQ(f->DateEdit1->text(), QStringLiteral("2026-11-11"));
    // Everything ticked: no condition.
    EXPECT_EQ(f->AccountBox->codes(), QString());
    EXPECT_EQ(f->AccountBox->shownText(), QStringLiteral("所有"));
    f->SearchButtonClick();
    EXPECT_EQ(ledger()->recordCount(), 2);
    EXPECT_EQ(pages->DateRangeStaticText->text(), QStringLiteral("2026年11月11日 - 2026年12月11日"));

    // Nothing ticked in the accounts: "000", nothing found.
    for (int i = 0; i < f->AccountBox->itemCount(); ++i)
        f->AccountBox->setTicked(i, false);
    EXPECT_EQ(f->AccountBox->codes(), QStringLiteral("000"));
    f->SearchButtonClick();
    EXPECT_EQ(ledger()->recordCount(), 0);
    EXPECT_EQ(f->rememberedAccounts, QStringLiteral("000"));

    // One account ticked; the choice is remembered for the next opening.
    f->prepare();
    for (int i = 0; i < f->AccountBox->itemCount(); ++i)
        f->AccountBox->setTicked(i, f->AccountBox->itemCode(i) == QLatin1String("102"));
    EXPECT_EQ(f->AccountBox->codes(), QStringLiteral("102"));
    f->DateEdit1->setText(QStringLiteral("2026-01-01"));
    f->SearchButtonClick();
    EXPECT_EQ(ledger()->recordCount(), 2);
    f->prepare();
    EXPECT_EQ(f->AccountBox->codes(), QStringLiteral("102"));

    // In the type list Left/Right are swallowed and Space steps to the next type.
    f->show();
    f->ComboBox1->setCurrentIndex(0);
    QWidget* line = f->ComboBox1->lineEdit();
    line->setFocus();
    QTest::keyClick(line, Qt::Key_Right);
    EXPECT_EQ(f->ComboBox1->currentIndex(), 0);
    QTest::keyClick(line, Qt::Key_Space);
    EXPECT_EQ(f->ComboBox1->currentText(), QStringLiteral("支出"));
    for (int i = 1; i < f->CategoryBox->itemCount(); ++i)
        EXPECT_TRUE(f->CategoryBox->itemCode(i).startsWith(QLatin1Char('2')));
    f->hide();

    // Type "收入" lists income categories only, without the separator.
    f->ComboBox1->setCurrentIndex(2);
    f->fillCategories(QStringLiteral("收入"));
    for (int i = 1; i < f->CategoryBox->itemCount(); ++i)
        EXPECT_TRUE(f->CategoryBox->itemCode(i).startsWith(QLatin1Char('3')));
    f->fillCategories(QStringLiteral("所有"));
    bool separator = false;
    for (int i = 0; i < f->CategoryBox->itemCount(); ++i)
        separator |= f->CategoryBox->itemCode(i) == QLatin1String("299");
    EXPECT_TRUE(separator);

    // Amount boxes that are not numbers are refused and nothing is searched.
    f->MinEdit->setText(QStringLiteral("abc"));
    const int before = ledger()->recordCount();
    f->SearchButtonClick();
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("最小金额范围错误，请重新输入！"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(ledger()->recordCount(), before);
    f->MinEdit->clear();
    f->MaxEdit->setText(QStringLiteral("1.2.3"));
    f->SearchButtonClick();
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("最大金额范围错误，请重新输入！"));
    // A half-typed date is refused too.
    f->MaxEdit->clear();
    f->DateEdit2->setText(QStringLiteral("2026-1"));
    const int shown = folder.messages.count();
    f->SearchButtonClick();
    EXPECT_EQ(folder.messages.count(), shown + 1);

    // After a search, the next list refresh shows the ordinary view again.
    pages->ComboBox2->setCurrentIndex(6);
    selectNode(QStringLiteral("1"), QStringLiteral("0"));
    EXPECT_EQ(ledger()->recordCount(), 3);
}

TEST_F(Filters, AddressAndMemoSearchWindows)
{
    Database& db = dm->db();
    db.exec(QStringLiteral("INSERT INTO AC_Address (ID, Name, TypeID, Phone, Email, UserID) VALUES "
                           "(1, '张三', '501', '123', 'a@b.c', 1), (2, '李_四', '502', '456', '', 1), "
                           "(3, '王%五', '501', '789', '', 1), (4, '李_四', '501', '000', '', 2)"));
    db.exec(QStringLiteral("INSERT INTO AC_Memo (ID, Name, TypeID, URL, Description, UserID) VALUES "
                           "(1, '新浪', '601', 'http://sina.com', '新闻 100%', 1), (2, '网易', '601', 'http://163.com', "
                           "'it''s', 1)"));
    dm->ADOTable3->open();
    dm->ADOTable4->open();
    selectNode(QStringLiteral("5"), QStringLiteral("0"));
    EXPECT_EQ(dm->ADOTable3->recordCount(), 3);
    EXPECT_EQ(status1, QStringLiteral("记录数：3"));
    selectNode(QStringLiteral("501"), QStringLiteral("5"));
    EXPECT_EQ(dm->ADOTable3->recordCount(), 2);

    TAddrSearchFrm* a = pages->AddrSearchFrm;
    a->prepare();
    EXPECT_EQ(a->TypeBox->currentText(), QStringLiteral("所有"));
    a->NameEdit->setText(QStringLiteral("_"));
    a->SearchButtonClick();
    ASSERT_EQ(dm->ADOTable3->recordCount(), 1);
    EXPECT_EQ(dm->ADOTable3->value(0, QStringLiteral("ID")).toInt(), 2);
    a->NameEdit->setText(QStringLiteral("%"));
    a->SearchButtonClick();
    ASSERT_EQ(dm->ADOTable3->recordCount(), 1);
    EXPECT_EQ(dm->ADOTable3->value(0, QStringLiteral("ID")).toInt(), 3);
    a->NameEdit->clear();
    a->TypeBox->setCurrentIndex(a->TypeBox->findText(QStringLiteral("同学")));
    a->SearchButtonClick();
    EXPECT_EQ(dm->ADOTable3->recordCount(), 1);
    a->prepare(); // the category is remembered
    EXPECT_EQ(a->TypeBox->currentText(), QStringLiteral("同学"));

    selectNode(QStringLiteral("6"), QStringLiteral("0"));
    TMemoSearchFrm* m = pages->MemoSearchFrm;
    m->prepare();
    m->DescriptionEdit->setText(QStringLiteral("%"));
    m->SearchButtonClick();
    ASSERT_EQ(dm->ADOTable4->recordCount(), 1);
    EXPECT_EQ(dm->ADOTable4->value(0, QStringLiteral("ID")).toInt(), 1);
    m->DescriptionEdit->setText(QStringLiteral("'"));
    m->SearchButtonClick();
    ASSERT_EQ(dm->ADOTable4->recordCount(), 1);
    EXPECT_EQ(dm->ADOTable4->value(0, QStringLiteral("ID")).toInt(), 2);
    EXPECT_EQ(status1, QStringLiteral("记录数：1"));
}
