// The table model over a record set: display text, entry through set-text,
// refusals, check columns, read-only columns and row signals.
#include "recordsetmodel.h"
#include "testdb.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct RecordSetModelTest : ::testing::Test {
    TestFolder f;
    std::unique_ptr<TDataModule1> dm = f.makeDataModule();
    Database& db = dm->db();
    std::unique_ptr<RecordSet> rs;
    std::unique_ptr<RecordSetModel> model;

    void SetUp() override
    {
        for (int i = 1; i <= 3; ++i)
            ASSERT_TRUE(db.exec("INSERT INTO AC_List (ActID, ActDate, InAmount, TypeID, Mark, Included, UserID) "
                                "VALUES (?, ?, ?, '101', ?, ?, 7)",
                                {i, QString("2008-03-0%1").arg(i), i * 12345000, QString("m%1").arg(i), i != 2}));
        rs = std::make_unique<RecordSet>(&db);
        rs->setTable("AC_List");
        rs->setKeyFields({"UserID", "TypeID", "ActID"});
        rs->setSort("ActID");
        ASSERT_TRUE(rs->open());
        model = std::make_unique<RecordSetModel>(rs.get());
        model->setColumns({{"ActDate", "日期"}, {"InAmount", "收入"}, {"Mark", "备注"},
                           {"Included", "统计", false, true}, {"ActID", "编号", true}});
    }
    QString shown(int row, int col) const { return model->data(model->index(row, col)).toString(); }
};

TEST_F(RecordSetModelTest, ShowsDisplayTextAndTitles)
{
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "收入");
    EXPECT_EQ(shown(0, 0), "2008-3-1");
    EXPECT_EQ(shown(0, 1), "1,234.50");
    EXPECT_EQ(shown(1, 2), "m2");
    EXPECT_EQ(model->data(model->index(1, 3), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(model->data(model->index(0, 3), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(model->flags(model->index(0, 4)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 3)) & Qt::ItemIsUserCheckable);

    model->roleProvider = [](int row, int, int role) -> QVariant {
        return role == Qt::TextAlignmentRole && row == 0 ? QVariant(int(Qt::AlignRight)) : QVariant();
    };
    EXPECT_EQ(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight));
    EXPECT_FALSE(model->data(model->index(1, 1), Qt::TextAlignmentRole).isValid());

    model->setColumnReadOnly("Mark", true);
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->setData(model->index(0, 2), "x"));
    model->setColumnReadOnly("Mark", false);
    EXPECT_TRUE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
}

TEST_F(RecordSetModelTest, EditsThroughSetTextAndReportsRefusals)
{
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy refused(model.get(), &RecordSetModel::entryRefused);
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);

    ASSERT_TRUE(model->setData(model->index(1, 1), "99.5"));
    EXPECT_EQ(rs->state(), RecordSet::Edit);
    EXPECT_EQ(rs->recNo(), 2);
    EXPECT_EQ(shown(1, 1), "99.50");
    EXPECT_GE(changed.count(), 1);

    EXPECT_FALSE(model->setData(model->index(1, 0), "2008-02-30"));
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused[0][0].toString(), "'2008-02-30' is not a valid date");
    EXPECT_EQ(shown(1, 0), "2008-3-2");

    // Editing another row posts the first one, as leaving a grid row does.
    ASSERT_TRUE(model->setData(model->index(2, 2), "it's 100%"));
    EXPECT_EQ(rs->recNo(), 3);
    QueryResult r;
    ASSERT_TRUE(db.select("SELECT InAmount FROM AC_List WHERE ActID = 2", {}, &r));
    EXPECT_EQ(r.integer(0, "InAmount"), 995000);

    ASSERT_TRUE(model->setData(model->index(1, 3), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model->data(model->index(1, 3), Qt::CheckStateRole).toInt(), Qt::Checked);
    ASSERT_TRUE(rs->post());
    ASSERT_TRUE(db.select("SELECT Mark, Included FROM AC_List WHERE ActID = 3", {}, &r));
    EXPECT_EQ(r.text(0, "Mark"), "it's 100%");
    ASSERT_TRUE(db.select("SELECT Included FROM AC_List WHERE ActID = 2", {}, &r));
    EXPECT_TRUE(r.boolean(0, "Included"));
}

TEST_F(RecordSetModelTest, EditingAnotherRowLandsOnTheRowThatWasClicked)
{
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    // An untouched new row goes away when another row is edited.
    ASSERT_TRUE(rs->setRecNo(2));
    ASSERT_TRUE(rs->insert());
    ASSERT_EQ(shown(2, 2), "m2");
    ASSERT_TRUE(model->setData(model->index(2, 2), "x"));
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(rs->integer("ActID"), 2);
    EXPECT_EQ(rs->text("Mark"), "x");
    rs->cancel();

    // The row left behind is posted and the set reopened in a new order.
    rs->setSort("Mark");
    rs->afterCommit = [](RecordSet& r) { r.reopen(); };
    ASSERT_TRUE(model->setData(model->index(0, 2), "zz"));
    ASSERT_EQ(shown(2, 2), "m3");
    ASSERT_TRUE(model->setData(model->index(2, 2), "m3!"));
    EXPECT_EQ(rs->integer("ActID"), 3);
    EXPECT_EQ(rs->text("Mark"), "m3!");
    ASSERT_TRUE(rs->post());
    QStringList marks;
    for (int i = 0; i < model->rowCount(); ++i)
        marks << shown(i, 2);
    EXPECT_EQ(marks, QStringList({"m2", "m3!", "zz"}));
}

TEST_F(RecordSetModelTest, FollowsInsertsRemovesAndResets)
{
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);

    ASSERT_TRUE(rs->setRecNo(2));
    ASSERT_TRUE(rs->insert());
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(shown(1, 2), "");
    rs->cancel();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(model->rowCount(), 3);

    ASSERT_TRUE(rs->remove());
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(shown(1, 2), "m3");

    rs->setSort("ActID DESC");
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(shown(0, 2), "m3");
}

} // namespace
