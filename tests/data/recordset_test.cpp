// The editable record set: event order, write-back by key inside one unit of
// work, rollback on failure, typed values, lookups, filter and sort.
#include "recordset.h"
#include "testdb.h"

#include <gtest/gtest.h>

namespace {

const int kUser = 7;

struct Fixture : ::testing::Test {
    TestFolder f;
    std::unique_ptr<TDataModule1> dm = f.makeDataModule();
    Database& db = dm->db();
    QStringList events;
    QList<QPair<QString, QString>> writeErrors;

    void addPlan(int id, const QString& desc, qint64 amountRaw, const QString& date = QStringLiteral("2008-03-07"),
                 int user = kUser)
    {
        ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO AC_Plan (ID, Type, Description, Amount, StartDate, Months, "
                                           "Total, UserID) VALUES (?, 'T', ?, ?, ?, 3, 0, ?)"),
                            {id, desc, amountRaw, date, user}));
    }
    // A plan set of the test user keyed like the data module keys AC_Plan.
    std::unique_ptr<RecordSet> planSet()
    {
        auto rs = std::make_unique<RecordSet>(&db);
        rs->setTable(QStringLiteral("AC_Plan"));
        rs->setTableCondition(QStringLiteral("UserID = ?"), {kUser});
        rs->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
        rs->onWriteError = [this](const QString& sql, const SqlError& e) { writeErrors << qMakePair(sql, e.message); };
        return rs;
    }
    void record(RecordSet& rs)
    {
        rs.onNewRecord = [this](RecordSet&) { events << "onNewRecord"; };
        rs.afterInsert = [this](RecordSet&) { events << "afterInsert"; };
        rs.afterEdit = [this](RecordSet&) { events << "afterEdit"; };
        rs.beforePost = [this](RecordSet&) { events << "beforePost"; return true; };
        rs.afterPost = [this](RecordSet&) { events << "afterPost"; };
        rs.afterCommit = [this](RecordSet&) { events << "afterCommit"; };
        rs.afterCancel = [this](RecordSet&) { events << "afterCancel"; };
        rs.beforeDelete = [this](RecordSet&) { events << "beforeDelete"; return true; };
        rs.afterDelete = [this](RecordSet&) { events << "afterDelete"; };
        rs.beforeScroll = [this](RecordSet&) { events << "beforeScroll"; };
        rs.afterScroll = [this](RecordSet&) { events << "afterScroll"; };
        rs.onFieldChange = [this](RecordSet&, const QString& f) { events << "change:" + f; };
    }
    int count(const QString& sql, const QVariantList& params = {})
    {
        QueryResult r;
        EXPECT_TRUE(db.select(sql, params, &r)) << db.lastError().message.toStdString();
        return r.isEmpty() ? -1 : int(r.integer(0, r.columns.value(0)));
    }
    QVariant stored(const QString& sql, const QVariantList& params = {})
    {
        QueryResult r;
        EXPECT_TRUE(db.select(sql, params, &r));
        return r.value(0, 0);
    }
};

using RecordSetTest = Fixture;

TEST_F(RecordSetTest, EventOrderOfEachOperation)
{
    addPlan(1, "a", 10000);
    addPlan(2, "b", 20000);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    record(*rs);

    ASSERT_TRUE(rs->append());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    ASSERT_TRUE(rs->setValue("ID", 3));
    rs->setValue("UserID", kUser);
    ASSERT_TRUE(rs->post());
    EXPECT_EQ(events, QStringList({"onNewRecord", "afterInsert", "change:ID", "change:UserID", "beforePost",
                                   "afterPost", "afterCommit"}));
    EXPECT_EQ(rs->state(), RecordSet::Browse);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE UserID = ?", {kUser}), 3);

    events.clear();
    ASSERT_TRUE(rs->first());
    ASSERT_TRUE(rs->edit());
    ASSERT_TRUE(rs->setValue("Description", "x"));
    rs->cancel();
    EXPECT_EQ(events, QStringList({"beforeScroll", "afterScroll", "afterEdit", "change:Description", "afterCancel"}));
    EXPECT_EQ(rs->text("Description"), "a");

    events.clear();
    ASSERT_TRUE(rs->remove());
    EXPECT_EQ(events, QStringList({"beforeDelete", "afterDelete"}));
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE UserID = ? AND ID = 1", {kUser}), 0);

    // Browse state refuses values; a set without an edit writes nothing.
    EXPECT_FALSE(rs->setValue("Description", "y"));
    EXPECT_FALSE(rs->setText("Description", "y"));
    EXPECT_TRUE(writeErrors.isEmpty());
}

TEST_F(RecordSetTest, LeavingARowPostsWhenModifiedAndCancelsOtherwise)
{
    addPlan(1, "a", 0);
    addPlan(2, "b", 0);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    record(*rs);
    ASSERT_TRUE(rs->edit());
    rs->setValue("Description", "changed");
    events.clear();
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(events, QStringList({"beforePost", "afterPost", "afterCommit", "beforeScroll", "afterScroll"}));
    EXPECT_EQ(stored("SELECT Description FROM AC_Plan WHERE ID = 1").toString(), "changed");

    // An untouched new row disappears when the cursor leaves it.
    ASSERT_TRUE(rs->append());
    EXPECT_EQ(rs->recordCount(), 3);
    events.clear();
    ASSERT_TRUE(rs->first());
    EXPECT_EQ(events, QStringList({"afterCancel", "beforeScroll", "afterScroll"}));
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan"), 2);
}

TEST_F(RecordSetTest, BeforePostCancelKeepsEditingAndWritesNothing)
{
    addPlan(5, "e", 0);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    rs->beforePost = [](RecordSet&) { return false; };
    ASSERT_TRUE(rs->append());
    rs->setValue("ID", 1);
    rs->setValue("UserID", kUser);
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->integer("ID"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan"), 1);
    EXPECT_EQ(db.transactionDepth(), 0);
    // Moving away fails the same way and does not move.
    EXPECT_FALSE(rs->first());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->recNo(), 2);
}

TEST_F(RecordSetTest, FailureInAfterPostRollsBackEverything)
{
    addPlan(1, "a", 10000);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    rs->afterPost = [this](RecordSet&) {
        EXPECT_TRUE(dm->exec("UPDATE AC_Plan SET Total = 99 WHERE ID = 1"));
        EXPECT_FALSE(dm->exec("UPDATE NoSuchTable SET x = 1"));
    };
    bool committed = false;
    rs->afterCommit = [&](RecordSet&) { committed = true; };

    ASSERT_TRUE(rs->edit());
    ASSERT_TRUE(rs->setValue("Amount", QVariant::fromValue(Money::fromRaw(55000))));
    ASSERT_TRUE(rs->setValue("StartDate", QDate(2009, 1, 5)));
    EXPECT_FALSE(rs->post());
    EXPECT_FALSE(committed);
    EXPECT_EQ(rs->state(), RecordSet::Edit);
    EXPECT_EQ(rs->money("Amount"), Money::fromRaw(55000));
    EXPECT_EQ(rs->date("StartDate"), QDate(2009, 1, 5));
    EXPECT_EQ(rs->oldValue("Amount").value<Money>(), Money::fromRaw(10000));
    EXPECT_EQ(db.transactionDepth(), 0);
    EXPECT_EQ(stored("SELECT Amount FROM AC_Plan WHERE ID = 1").toLongLong(), 10000);
    EXPECT_EQ(stored("SELECT Total FROM AC_Plan WHERE ID = 1").toLongLong(), 0);

    // The same failure on a new row: it stays on screen, nothing is written.
    rs->cancel();
    ASSERT_TRUE(rs->append());
    rs->setValue("ID", 2);
    rs->setValue("UserID", kUser);
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->integer("ID"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan"), 1);

    // Once the hook behaves, the same row posts.
    rs->afterPost = nullptr;
    EXPECT_TRUE(rs->post());
    EXPECT_TRUE(committed);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan"), 2);
}

TEST_F(RecordSetTest, FailingWriteIsReportedAndRolledBack)
{
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(rs->append());
    rs->setValue("ID", 1); // UserID is NOT NULL without a default
    EXPECT_FALSE(rs->post());
    ASSERT_EQ(writeErrors.size(), 1);
    EXPECT_TRUE(writeErrors[0].first.startsWith("INSERT INTO \"AC_Plan\""));
    EXPECT_FALSE(writeErrors[0].second.isEmpty());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(db.transactionDepth(), 0);
}

TEST_F(RecordSetTest, UpdateAndDeleteFindTheRowByItsOriginalKey)
{
    addPlan(1, "one", 0);
    addPlan(2, "two", 0);
    addPlan(1, "other user", 0, "2008-03-07", 8);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(rs->locate("ID", 1));
    ASSERT_TRUE(rs->edit());
    rs->setValue("ID", 5);
    rs->setValue("Description", "five");
    ASSERT_TRUE(rs->post());
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE UserID = ? AND ID = 1", {kUser}), 0);
    EXPECT_EQ(stored("SELECT Description FROM AC_Plan WHERE UserID = ? AND ID = 5", {kUser}).toString(), "five");
    EXPECT_EQ(stored("SELECT Description FROM AC_Plan WHERE UserID = 8 AND ID = 1").toString(), "other user");

    ASSERT_TRUE(rs->locate("ID", 2));
    ASSERT_TRUE(rs->remove());
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE UserID = ?", {kUser}), 1);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE UserID = 8"), 1);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->recNo(), 1);

    // A row changed behind the static cursor cannot be found: reported, not claimed.
    ASSERT_TRUE(db.exec("UPDATE AC_Plan SET ID = 9 WHERE UserID = ? AND ID = 5", {kUser}));
    ASSERT_TRUE(rs->edit());
    rs->setValue("Description", "lost?");
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(writeErrors.size(), 1);
    EXPECT_EQ(rs->state(), RecordSet::Edit);
}

TEST_F(RecordSetTest, DeleteCancelledOrFailedKeepsTheRow)
{
    addPlan(1, "a", 0);
    addPlan(2, "b", 0);
    auto rs = planSet();
    rs->setSort("ID");
    ASSERT_TRUE(rs->open());
    bool deleted = false;
    rs->afterDelete = [&](RecordSet&) { deleted = true; };
    rs->beforeDelete = [this](RecordSet&) {
        EXPECT_TRUE(db.exec("UPDATE AC_Plan SET Total = 5"));
        return false;
    };
    EXPECT_FALSE(rs->remove());
    EXPECT_FALSE(deleted);
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(count("SELECT count(*) FROM AC_Plan WHERE Total = 5"), 0);
    EXPECT_EQ(db.transactionDepth(), 0);

    // The row was deleted behind the static cursor: reported, still shown.
    rs->beforeDelete = nullptr;
    ASSERT_TRUE(db.exec("DELETE FROM AC_Plan WHERE ID = 1"));
    EXPECT_FALSE(rs->remove());
    EXPECT_FALSE(deleted);
    ASSERT_EQ(writeErrors.size(), 1);
    EXPECT_TRUE(writeErrors[0].first.startsWith("DELETE FROM \"AC_Plan\" WHERE"));
    EXPECT_EQ(rs->recordCount(), 2);

    // Deleting the last row leaves the cursor on the new last row. A row
    // being edited is deleted as stored: the hook never sees the typed value.
    ASSERT_TRUE(rs->last());
    ASSERT_TRUE(rs->edit());
    rs->setValue("Description", "typed");
    rs->beforeDelete = [](RecordSet& r) {
        EXPECT_EQ(r.text("Description"), "b");
        return true;
    };
    ASSERT_TRUE(rs->remove());
    EXPECT_EQ(rs->state(), RecordSet::Browse);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(rs->recNo(), 1);
    EXPECT_EQ(rs->integer("ID"), 1);
}

TEST_F(RecordSetTest, TypedValuesRoundTrip)
{
    auto rs = std::make_unique<RecordSet>(&db);
    rs->setTable("AC_Type");
    rs->setTableCondition("UserID = ?", {kUser});
    rs->setKeyFields({"UserID", "TypeID"});
    ASSERT_TRUE(rs->open());
    EXPECT_EQ(rs->fieldType("Balance"), FieldType::Money);
    EXPECT_EQ(rs->fieldType("FundFlag"), FieldType::Boolean);
    EXPECT_EQ(rs->fieldType("UserID"), FieldType::Integer);
    EXPECT_EQ(rs->fieldType("TypeName"), FieldType::Text);

    const QStringList names = {"it's 100% _mine_", "\"quoted\"; DROP TABLE AC_Type; --", "现金"};
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(rs->append());
        rs->setValue("TypeID", QString::number(101 + i));
        ASSERT_TRUE(rs->setText("TypeName", names[i]));
        ASSERT_TRUE(rs->setText("Balance", "-1,234.5"));
        ASSERT_TRUE(rs->setValue("FundFlag", i == 0));
        rs->setValue("UserID", kUser);
        ASSERT_TRUE(rs->post()) << rs->lastError().message.toStdString();
    }
    ASSERT_TRUE(rs->reopen());
    ASSERT_EQ(rs->recordCount(), 3);
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rs->value(i, "TypeName").toString(), names[i]);
        EXPECT_EQ(rs->value(i, "Balance").value<Money>(), Money::fromRaw(-12345000));
        EXPECT_EQ(rs->displayText(i, "Balance"), "-1,234.50");
        EXPECT_EQ(rs->value(i, "FundFlag").typeId(), QMetaType::Bool);
        EXPECT_EQ(rs->value(i, "FundFlag").toBool(), i == 0);
    }
    ASSERT_TRUE(rs->first());
    EXPECT_EQ(rs->text("Balance"), "-1234.5");
    EXPECT_EQ(rs->text("FundFlag"), "1");
    EXPECT_EQ(rs->text("UserID"), QString::number(kUser));
    EXPECT_EQ(stored("SELECT Balance FROM AC_Type WHERE TypeID = '101'").toLongLong(), -12345000);
    EXPECT_EQ(stored("SELECT FundFlag FROM AC_Type WHERE TypeID = '101'").toLongLong(), 1);
    EXPECT_TRUE(db.hasTable("AC_Type"));
}

TEST_F(RecordSetTest, TextEntryByTypeAndRefusals)
{
    addPlan(1, "a", 0);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    EXPECT_EQ(rs->displayText("StartDate"), "2008-3-7");
    ASSERT_TRUE(rs->edit());
    struct Case { const char* field; const char* text; bool ok; const char* shown; };
    const Case cases[] = {
        {"StartDate", "2009-1-5", true, "2009-1-5"},
        {"StartDate", "2009-02-30", false, "2009-1-5"},
        {"StartDate", "2009-  -  ", false, "2009-1-5"},
        {"StartDate", "", true, ""},
        {"Amount", "12.5", true, "12.50"},
        {"Amount", "abc", false, "12.50"},
        {"Amount", "", true, "0.00"},
        {"Months", "12", true, "12"},
        {"Months", "1.5", false, "12"},
        {"Description", "50% 'off'", true, "50% 'off'"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_EQ(rs->setText(c.field, c.text, &error), c.ok) << c.field << " " << c.text;
        EXPECT_EQ(rs->displayText(c.field), QString::fromUtf8(c.shown)) << c.field << " " << c.text;
        if (!c.ok)
            EXPECT_FALSE(error.isEmpty());
    }
    QString error;
    EXPECT_FALSE(rs->setText("StartDate", "2008-13-01", &error));
    EXPECT_EQ(error, "'2008-13-01' is not a valid date");
    ASSERT_TRUE(rs->post());
    EXPECT_TRUE(stored("SELECT StartDate FROM AC_Plan WHERE ID = 1").isNull());
    EXPECT_EQ(stored("SELECT Description FROM AC_Plan WHERE ID = 1").toString(), "50% 'off'");
}

TEST_F(RecordSetTest, HooksForTextAndRecursiveChanges)
{
    addPlan(1, "a", 10000);
    auto rs = planSet();
    ASSERT_TRUE(rs->open());
    rs->setGetText("Description", [](const RecordSet& r, int row, const QString& f) {
        return "[" + r.value(row, f).toString() + "]";
    });
    rs->setSetText("Months", [](RecordSet& r, const QString& f, const QString& text, QString* error) {
        if (text == "bad") {
            *error = "no";
            return false;
        }
        return r.setValue(f, text.toInt() * 2);
    });
    // A change hook that sets other fields, and its own field to the same value.
    int changes = 0;
    rs->onFieldChange = [&](RecordSet& r, const QString& f) {
        ++changes;
        if (f == "Months") {
            r.setValue("Total", QVariant::fromValue(Money::fromRaw(r.integer("Months") * 10000)));
            r.setValue("Months", r.value("Months"));
        }
    };
    EXPECT_EQ(rs->displayText(0, "Description"), "[a]");
    ASSERT_TRUE(rs->edit());
    QString error;
    EXPECT_FALSE(rs->setText("Months", "bad", &error));
    EXPECT_EQ(error, "no");
    ASSERT_TRUE(rs->setText("Months", "6"));
    EXPECT_EQ(rs->integer("Months"), 12);
    EXPECT_EQ(rs->money("Total"), Money::fromRaw(120000));
    EXPECT_EQ(changes, 2);
}

TEST_F(RecordSetTest, LookupFieldResolvesByKey)
{
    auto accounts = std::make_unique<RecordSet>(&db);
    ASSERT_TRUE(db.exec("INSERT INTO AC_Type (TypeID, TypeName, TypeFlag, UseFlag, UserID) VALUES ('101', '现金', '1', '1', ?)",
                        {kUser}));
    accounts->setSql("SELECT * FROM AC_Type WHERE UserID = ? ORDER BY TypeID", {kUser});
    accounts->setReadOnly(true);
    ASSERT_TRUE(accounts->open());

    ASSERT_TRUE(db.exec("INSERT INTO AC_List (ActID, ActDate, TypeID, UserID) VALUES (1, '2008-03-07', '101', ?)", {kUser}));
    ASSERT_TRUE(db.exec("INSERT INTO AC_List (ActID, ActDate, TypeID, UserID) VALUES (2, '2008-03-08', '555', ?)", {kUser}));
    auto list = std::make_unique<RecordSet>(&db);
    list->setTable("AC_List");
    list->setKeyFields({"UserID", "TypeID", "ActID"});
    list->addLookupField("TypeName", "TypeID", accounts.get(), "TypeID", "TypeName");
    list->setSort("ActID");
    ASSERT_TRUE(list->open());
    EXPECT_EQ(list->fieldType("TypeName"), FieldType::Lookup);
    EXPECT_EQ(list->displayText(0, "TypeName"), "现金");
    EXPECT_EQ(list->displayText(1, "TypeName"), "");

    // The source changes: the lookup follows after it is reopened.
    ASSERT_TRUE(db.exec("INSERT INTO AC_Type (TypeID, TypeName, TypeFlag, UseFlag, UserID) VALUES ('555', '银行', '1', '1', ?)",
                        {kUser}));
    EXPECT_EQ(list->displayText(1, "TypeName"), "");
    ASSERT_TRUE(accounts->reopen());
    EXPECT_EQ(list->displayText(1, "TypeName"), "银行");

    // Entering the name sets the key; lookup columns are never written.
    ASSERT_TRUE(list->first());
    ASSERT_TRUE(list->edit());
    ASSERT_TRUE(list->setText("TypeName", "银行"));
    EXPECT_EQ(list->text("TypeID"), "555");
    QString error;
    EXPECT_FALSE(list->setText("TypeName", "没有", &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(list->post()) << list->lastError().message.toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM AC_List WHERE TypeID = '555'"), 2);
    EXPECT_FALSE(accounts->edit()); // read-only sets refuse editing
    EXPECT_FALSE(accounts->append());
    EXPECT_FALSE(accounts->remove());
}

TEST_F(RecordSetTest, FilterAndSortSurviveReopenAndKeepTheRecordNumber)
{
    for (int i = 1; i <= 6; ++i)
        addPlan(i, QString("d%1").arg(i), (i % 3) * 10000);
    auto rs = planSet();
    rs->setSort("amount DESC, ID ASC");
    rs->setFilter([](const RecordSet& r, int row) { return r.value(row, "ID").toInt() != 4; }, "ID <> 4");
    ASSERT_TRUE(rs->open());
    auto ids = [&]() {
        QList<int> out;
        for (int i = 0; i < rs->recordCount(); ++i)
            out << rs->value(i, "ID").toInt();
        return out;
    };
    EXPECT_EQ(ids(), QList<int>({2, 5, 1, 3, 6}));
    ASSERT_TRUE(rs->setRecNo(3));
    ASSERT_TRUE(db.exec("UPDATE AC_Plan SET Amount = 90000 WHERE ID = 6"));
    ASSERT_TRUE(rs->reopen());
    EXPECT_EQ(ids(), QList<int>({6, 2, 5, 1, 3}));
    EXPECT_EQ(rs->recNo(), 3);
    EXPECT_EQ(rs->filterText(), "ID <> 4");

    // The record number is clamped when fewer rows come back.
    ASSERT_TRUE(rs->last());
    ASSERT_TRUE(db.exec("DELETE FROM AC_Plan WHERE ID IN (1, 3)"));
    ASSERT_TRUE(rs->reopen());
    EXPECT_EQ(rs->recNo(), 3);
    EXPECT_EQ(rs->recordCount(), 3);

    // A posted row stays where it was shown until the next sort.
    ASSERT_TRUE(rs->first());
    ASSERT_TRUE(rs->edit());
    rs->setValue("Amount", QVariant::fromValue(Money()));
    ASSERT_TRUE(rs->post());
    EXPECT_EQ(ids(), QList<int>({6, 2, 5}));
    rs->setSort(rs->sort());
    EXPECT_EQ(ids(), QList<int>({2, 5, 6}));
    rs->clearFilter();
    EXPECT_EQ(ids(), QList<int>({2, 5, 4, 6}));
}

TEST_F(RecordSetTest, SortPutsNullsFirstIgnoresCaseAndKeepsTies)
{
    addPlan(1, "b", 0);
    addPlan(2, "a", 0);
    addPlan(3, "A", 0);
    ASSERT_TRUE(db.exec("INSERT INTO AC_Plan (ID, UserID) VALUES (4, ?)", {kUser}));
    auto rs = planSet();
    rs->setSort("description asc, Amount");
    ASSERT_TRUE(rs->open());
    QList<int> ids;
    for (int i = 0; i < rs->recordCount(); ++i)
        ids << rs->value(i, "ID").toInt();
    EXPECT_EQ(ids, QList<int>({4, 2, 3, 1}));
    rs->setSort("Description DESC");
    ids.clear();
    for (int i = 0; i < rs->recordCount(); ++i)
        ids << rs->value(i, "ID").toInt();
    EXPECT_EQ(ids, QList<int>({1, 2, 3, 4}));
}

TEST_F(RecordSetTest, ExpressionColumnsTakeTheTypeTheyAreGiven)
{
    addPlan(1, "a", 15000, "2008-03-07");
    addPlan(2, "b", 25000, "2009-01-05");
    RecordSet rs(&db);
    rs.setSql("SELECT sum(Amount) AS S, max(StartDate) AS D, count(*) AS N FROM AC_Plan WHERE UserID = ?", {kUser});
    rs.setFieldType("S", FieldType::Money);
    ASSERT_TRUE(rs.open());
    EXPECT_EQ(rs.money("S"), Money::fromRaw(40000));
    EXPECT_EQ(rs.displayText("S"), "4.00");
    EXPECT_EQ(rs.fieldType("N"), FieldType::Integer);
    EXPECT_EQ(rs.fieldType("D"), FieldType::Text);
    rs.setFieldType("D", FieldType::Date);
    EXPECT_EQ(rs.value("D").toDate(), QDate(2009, 1, 5));
    EXPECT_FALSE(rs.edit() && rs.post()); // no table to write to
}

TEST_F(RecordSetTest, InsertPlacesTheNewRowBeforeTheCurrentOne)
{
    for (int i = 1; i <= 3; ++i)
        addPlan(i, QString("d%1").arg(i), 0);
    auto rs = planSet();
    rs->setSort("ID");
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(rs->setRecNo(2));
    ASSERT_TRUE(rs->insert());
    EXPECT_EQ(rs->recNo(), 2);
    EXPECT_EQ(rs->recordCount(), 4);
    rs->setValue("ID", 10);
    rs->setValue("UserID", kUser);
    EXPECT_EQ(rs->value(1, "ID").toInt(), 10);
    EXPECT_EQ(rs->value(2, "ID").toInt(), 2);
    ASSERT_TRUE(rs->post());
    EXPECT_EQ(rs->recNo(), 2);
    EXPECT_EQ(rs->value(1, "ID").toInt(), 10);
    // Columns left empty took their declared defaults.
    EXPECT_EQ(rs->value(1, "Amount").value<Money>(), Money());
    EXPECT_EQ(rs->value(1, "Amount").userType(), qMetaTypeId<Money>());

    // Cancelling an inserted row goes back to the row that was current.
    ASSERT_TRUE(rs->setRecNo(3));
    ASSERT_TRUE(rs->insert());
    rs->cancel();
    EXPECT_EQ(rs->recordCount(), 4);
    EXPECT_EQ(rs->value("ID").toInt(), 2);
    ASSERT_TRUE(rs->append());
    EXPECT_EQ(rs->recNo(), 5);
    rs->cancel();
    EXPECT_EQ(rs->recNo(), 4);
}

TEST_F(RecordSetTest, NavigationFlagsAndControls)
{
    for (int i = 1; i <= 3; ++i)
        addPlan(i, "x", 0);
    auto rs = planSet();
    rs->setSort("ID");
    ASSERT_TRUE(rs->open());
    QList<int> seen;
    for (rs->first(); !rs->eof(); rs->next())
        seen << int(rs->integer("ID"));
    EXPECT_EQ(seen, QList<int>({1, 2, 3}));
    EXPECT_EQ(rs->moveBy(-5), -2);
    EXPECT_TRUE(rs->bof());
    EXPECT_FALSE(rs->locate("ID", 99));
    EXPECT_EQ(rs->recNo(), 1);

    int resets = 0;
    QObject::connect(rs.get(), &RecordSet::reset, [&]() { ++resets; });
    rs->disableControls();
    rs->disableControls();
    rs->reopen();
    rs->setSort("ID DESC");
    rs->enableControls();
    EXPECT_EQ(resets, 0);
    rs->enableControls();
    EXPECT_EQ(resets, 1);
    rs->disableControls();
    rs->enableControls();
    EXPECT_EQ(resets, 1);
}

TEST_F(RecordSetTest, HooksMayReopenTheSet)
{
    addPlan(1, "a", 0);
    addPlan(2, "b", 0);
    auto rs = planSet();
    rs->setSort("ID");
    ASSERT_TRUE(rs->open());
    rs->afterCommit = [](RecordSet& r) { r.reopen(); };
    rs->afterDelete = [](RecordSet& r) { r.reopen(); };
    ASSERT_TRUE(rs->append());
    rs->setValue("ID", 0);
    rs->setValue("UserID", kUser);
    ASSERT_TRUE(rs->post());
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(rs->value(0, "ID").toInt(), 0);
    ASSERT_TRUE(rs->last());
    ASSERT_TRUE(rs->remove());
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->recNo(), 2);
}

TEST_F(RecordSetTest, OpenErrorsAndTheDataModuleRefresh)
{
    auto rs = std::make_unique<RecordSet>(&db);
    rs->setSql("SELECT * FROM NoSuchTable");
    EXPECT_FALSE(rs->open());
    EXPECT_FALSE(rs->isOpen());
    EXPECT_FALSE(rs->lastError().message.isEmpty());
    EXPECT_FALSE(rs->append());

    for (int i = 1; i <= 4; ++i)
        addPlan(i, "x", 0);
    auto plan = planSet();
    ASSERT_TRUE(plan->open());
    ASSERT_TRUE(plan->setRecNo(4));
    dm->refresh(plan.get());
    EXPECT_EQ(plan->recNo(), 4);
    EXPECT_EQ(f.messages.count(), 0);
}

} // namespace
