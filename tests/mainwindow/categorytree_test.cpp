// The category tree's commands: reordering by drag and drop with the
// re-keying of every table, the refusals, the delete questions and adding
// and editing through the naming dialogs.
#include "actinfofrm.h"
#include "addtypefrm.h"
#include "balancegrid.h"
#include "mainfixture.h"
#include "treecatalogue.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using CategoryTreeCommands = MainFixture;

namespace {
QStringList childCodes(QTreeWidgetItem* root)
{
    QStringList codes;
    for (int i = 0; i < root->childCount(); ++i)
        codes << CategoryTree::typeId(root->child(i)) + QLatin1Char(':') + root->child(i)->text(0);
    return codes;
}
} // namespace

TEST_F(CategoryTreeCommands, DraggingAnExpenseUpRenumbersAndEntriesFollow)
{
    seedCatalogue();
    // One entry per category, its text naming the category it belongs to.
    for (int i = 1; i <= 5; ++i)
        addEntry(i, QStringLiteral("101"), QStringLiteral("20%1").arg(i), QStringLiteral("支出%1").arg(i));
    TMainFrm* w = open();
    select(QStringLiteral("205"));
    w->TreeView1DragDrop(node(QStringLiteral("205")), node(QStringLiteral("202")));

    EXPECT_EQ(childCodes(node(QStringLiteral("2"))),
              QStringList({QStringLiteral("201:支出1"), QStringLiteral("202:支出5"), QStringLiteral("203:支出2"),
                           QStringLiteral("204:支出3"), QStringLiteral("205:支出4")}));
    EXPECT_EQ(w->currentTypeId(), QStringLiteral("202"));
    // Catalogue and entries agree: every entry still names its category.
    dm->query(QStringLiteral("SELECT l.Mark, t.TypeName FROM AC_List l JOIN AC_Type t ON t.TypeID = l.TypeID2 AND "
                             "t.UserID = 1 ORDER BY l.ActID"));
    ASSERT_EQ(dm->ADOQuery1().size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dm->ADOQuery1().value(i, 0).toString(), dm->ADOQuery1().value(i, 1).toString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeID2 FROM AC_List WHERE ActID = 5")), QStringLiteral("202"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Type WHERE TypeID = '-1'")), QStringLiteral("0"));
    // The system rows of user 0 are untouched.
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = 0 AND TypeID = '200'")),
              QStringLiteral("转出"));
}

TEST_F(CategoryTreeCommands, AnEntryBeingEditedIsStoredBeforeTheCodesMove)
{
    seedCatalogue();
    addEntry(1, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("现金支出"), QString(), 0, 100000);
    addEntry(2, QStringLiteral("103"), QStringLiteral("202"), QStringLiteral("公积金支出"), QString(), 0, 100000);
    TMainFrm* w = open();
    select(QStringLiteral("101"));
    RecordSet* rs = dm->ADOTable1;
    ASSERT_TRUE(rs->isOpen());
    ASSERT_TRUE(rs->locate(QStringLiteral("ActID"), 1));
    ASSERT_TRUE(rs->edit());
    ASSERT_TRUE(rs->setValue(QStringLiteral("Mark"), QStringLiteral("改过")));
    // The edited entry is keyed by account 101, a code the move gives to another account.
    w->TreeView1DragDrop(node(QStringLiteral("103")), node(QStringLiteral("101")));
    if (rs->isEditing())
        rs->post();
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeID || ':' || Mark FROM AC_List WHERE ActID = 1")),
              QStringLiteral("102:改过"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeID || ':' || Mark FROM AC_List WHERE ActID = 2")),
              QStringLiteral("101:公积金支出"));
}

TEST_F(CategoryTreeCommands, DraggingAnExpenseDownLandsBeforeTheTarget)
{
    seedCatalogue();
    addType(QStringLiteral("206"), QStringLiteral("已停用"), false, QStringLiteral("0")); // retired, outside the range
    for (int i = 1; i <= 5; ++i)
        addEntry(i, QStringLiteral("101"), QStringLiteral("20%1").arg(i), QStringLiteral("支出%1").arg(i));
    TMainFrm* w = open();
    w->TreeView1DragDrop(node(QStringLiteral("202")), node(QStringLiteral("205")));
    EXPECT_EQ(childCodes(node(QStringLiteral("2"))),
              QStringList({QStringLiteral("201:支出1"), QStringLiteral("202:支出3"), QStringLiteral("203:支出4"),
                           QStringLiteral("204:支出2"), QStringLiteral("205:支出5")}));
    dm->query(QStringLiteral("SELECT l.Mark, t.TypeName FROM AC_List l JOIN AC_Type t ON t.TypeID = l.TypeID2 AND "
                             "t.UserID = 1 ORDER BY l.ActID"));
    ASSERT_EQ(dm->ADOQuery1().size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dm->ADOQuery1().value(i, 0).toString(), dm->ADOQuery1().value(i, 1).toString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = 1 AND TypeID = '206'")),
              QStringLiteral("已停用"));
}

TEST_F(CategoryTreeCommands, DraggingAnAccountKeepsTransfersAndDetails)
{
    seedCatalogue();
    // A transfer from 现金 (101) to 公积金 (103): one entry in each, pointing at the other.
    addEntry(1, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("现金->公积金"), QStringLiteral("103"), 0, 10000);
    addEntry(1, QStringLiteral("103"), QStringLiteral("300"), QStringLiteral("公积金<-现金"), QStringLiteral("101"), 10000, 0);
    addEntry(2, QStringLiteral("102"), QStringLiteral("201"), QStringLiteral("工资卡"));
    TreeCatalogue::AccountDetails d;
    d.actName = QStringLiteral("公积金中心");
    ASSERT_TRUE(TreeCatalogue::insertDetails(*dm, QStringLiteral("103"), d));
    TMainFrm* w = open();
    w->TreeView1DragDrop(node(QStringLiteral("103")), node(QStringLiteral("101")));

    EXPECT_EQ(childCodes(node(QStringLiteral("1"))),
              QStringList({QStringLiteral("101:公积金"), QStringLiteral("102:现金"), QStringLiteral("103:工资卡")}));
    auto accountOf = [&](const QString& mark) {
        return scalar(QStringLiteral("SELECT t.TypeName FROM AC_List l JOIN AC_Type t ON t.TypeID = l.TypeID AND "
                                     "t.UserID = 1 WHERE l.Mark = ?"),
                      {mark});
    };
    auto relateOf = [&](const QString& mark) {
        return scalar(QStringLiteral("SELECT t.TypeName FROM AC_List l JOIN AC_Type t ON t.TypeID = l.RelateTypeID AND "
                                     "t.UserID = 1 WHERE l.Mark = ?"),
                      {mark});
    };
    EXPECT_EQ(accountOf(QStringLiteral("现金->公积金")), QStringLiteral("现金"));
    EXPECT_EQ(relateOf(QStringLiteral("现金->公积金")), QStringLiteral("公积金"));
    EXPECT_EQ(accountOf(QStringLiteral("公积金<-现金")), QStringLiteral("公积金"));
    EXPECT_EQ(relateOf(QStringLiteral("公积金<-现金")), QStringLiteral("现金"));
    EXPECT_EQ(accountOf(QStringLiteral("工资卡")), QStringLiteral("工资卡"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ActName FROM AC_Info WHERE UserID = 1 AND TypeID = '101'")),
              QStringLiteral("公积金中心"));
    // The balance list follows the new order.
    EXPECT_EQ(w->DBGridBalance->model()->index(0, 0).data().toString(), QStringLiteral("公积金"));
}

TEST_F(CategoryTreeCommands, RefusedDropsChangeNothing)
{
    seedCatalogue();
    TMainFrm* w = open();
    struct Case { const char* source; const char* target; const char* message; };
    const Case cases[] = {
        {"2", "3", "大类不允许移动！"},
        {"203", "2", "类别不能移到别的分类！"},
        {"203", "301", "类别不能移到别的分类！"},
        {"101", "201", "类别不能移到别的分类！"},
    };
    for (const Case& c : cases) {
        folder.messages.clear();
        w->TreeView1DragDrop(node(QString::fromLatin1(c.source)), node(QString::fromLatin1(c.target)));
        ASSERT_EQ(folder.messages.count(), 1) << c.source;
        EXPECT_EQ(folder.messages.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
        EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(TypeName, ',') FROM (SELECT TypeName FROM AC_Type WHERE "
                                    "UserID = 1 AND TypeFlag = '2' ORDER BY TypeID)")),
              QStringLiteral("支出1,支出2,支出3,支出4,支出5"));
}

TEST_F(CategoryTreeCommands, FailedMoveIsUndoneWhole)
{
    seedCatalogue();
    for (int i = 1; i <= 5; ++i)
        addEntry(i, QStringLiteral("101"), QStringLiteral("20%1").arg(i), QStringLiteral("支出%1").arg(i));
    // Something in the way of the renumbering: a trigger refuses the last step.
    ASSERT_TRUE(dm->exec(QStringLiteral("CREATE TRIGGER stop BEFORE UPDATE ON AC_Type WHEN NEW.TypeID = '202' AND "
                                        "OLD.TypeID = '-1' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    TMainFrm* w = open();
    folder.messages.clear();
    w->TreeView1DragDrop(node(QStringLiteral("205")), node(QStringLiteral("202")));
    EXPECT_GE(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(TypeID || TypeName, ',') FROM (SELECT * FROM AC_Type WHERE "
                                    "UserID = 1 AND TypeFlag = '2' ORDER BY TypeID)")),
              QStringLiteral("201支出1,202支出2,203支出3,204支出4,205支出5"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeID2 FROM AC_List WHERE ActID = 5")), QStringLiteral("205"));
    EXPECT_EQ(CategoryTree::typeId(node(QStringLiteral("2"))->child(4)), QStringLiteral("205"));
    EXPECT_EQ(node(QStringLiteral("2"))->child(4)->text(0), QStringLiteral("支出5"));
}

TEST_F(CategoryTreeCommands, DeletingAskswhatTheBalanceRequires)
{
    seedCatalogue();
    addType(QStringLiteral("104"), QStringLiteral("空帐户"));
    TreeCatalogue::AccountDetails d;
    ASSERT_TRUE(TreeCatalogue::insertDetails(*dm, QStringLiteral("104"), d));
    TMainFrm* w = open();

    // Balance 0.00: only the first question.
    select(QStringLiteral("104"));
    folder.messages.clear();
    w->DirDel->trigger();
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("警告"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Warning);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("删除当前分类将会结束该分类的使用权，确实要删除吗？"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT UseFlag FROM AC_Type WHERE UserID = 1 AND TypeID = '104'")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Info WHERE TypeID = '104'")), QStringLiteral("0"));
    EXPECT_EQ(node(QStringLiteral("104")), nullptr);

    // A balance: both questions; Cancel on the second keeps everything.
    select(QStringLiteral("101"));
    folder.messages.clear();
    folder.messages.answerNext(MsgAnswer::Ok);
    folder.messages.answerNext(MsgAnswer::Cancel);
    w->DirDel->trigger();
    ASSERT_EQ(folder.messages.count(), 2);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("重要提示"));
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Question);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("帐户余额不是0，是否继续？"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT UseFlag FROM AC_Type WHERE UserID = 1 AND TypeID = '101'")), QStringLiteral("1"));
    EXPECT_NE(node(QStringLiteral("101")), nullptr);

    // A category: Cancel on the question keeps it; OK retires it and its entries stay.
    addEntry(9, QStringLiteral("101"), QStringLiteral("203"), QStringLiteral("x"));
    select(QStringLiteral("203"));
    folder.messages.clear();
    folder.messages.answerNext(MsgAnswer::Cancel);
    w->DirDel->trigger();
    EXPECT_NE(node(QStringLiteral("203")), nullptr);
    w->DirDel->trigger();
    EXPECT_EQ(node(QStringLiteral("203")), nullptr);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List WHERE TypeID2 = '203'")), QStringLiteral("1"));
    EXPECT_EQ(w->DBGridBalance->model()->rowCount(), 3);
}

TEST_F(CategoryTreeCommands, AddAndEditThroughTheNamingDialogs)
{
    seedCatalogue();
    addEntry(1, QStringLiteral("101"), QStringLiteral("202"), QStringLiteral("a"));
    addEntry(2, QStringLiteral("101"), QStringLiteral("202"), QStringLiteral("b"));
    TMainFrm* w = open();
    QString caption;
    std::function<void(QDialog*)> fill;
    w->execDialog = [&](QDialog* d) {
        caption = d->windowTitle();
        fill(d);
        return d->result();
    };

    // New expense category under the expense class.
    select(QStringLiteral("2"));
    fill = [](QDialog* d) {
        auto* f = static_cast<TAddTypeFrm*>(d);
        EXPECT_TRUE(f->FlagCheckBox->isChecked());
        f->TypeNameEdit->setText(QStringLiteral("100% 'quoted' 名称"));
        f->BitBtn1Click();
    };
    w->DirAdd->trigger();
    EXPECT_EQ(caption, QStringLiteral("新增分类"));
    ASSERT_NE(node(QStringLiteral("206")), nullptr);
    EXPECT_EQ(node(QStringLiteral("206"))->text(0), QStringLiteral("100% 'quoted' 名称"));
    EXPECT_TRUE(node(QStringLiteral("2"))->isExpanded());

    // A duplicate name is refused with its message, nothing added.
    folder.messages.clear();
    fill = [](QDialog* d) {
        static_cast<TAddTypeFrm*>(d)->TypeNameEdit->setText(QStringLiteral("支出1"));
        static_cast<TAddTypeFrm*>(d)->BitBtn1Click();
    };
    w->DirAdd->trigger();
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("已有同名的分类名称，此次操作无效！"));
    EXPECT_EQ(node(QStringLiteral("207")), nullptr);

    // Editing: untick "参与统计" clears Included on every entry of the category.
    select(QStringLiteral("202"));
    fill = [](QDialog* d) {
        auto* f = static_cast<TAddTypeFrm*>(d);
        EXPECT_EQ(f->TypeNameEdit->text(), QStringLiteral("支出2"));
        f->TypeNameEdit->setText(QStringLiteral("餐饮"));
        f->FlagCheckBox->setChecked(false);
        f->BitBtn1Click();
    };
    w->DirEdit->trigger();
    EXPECT_EQ(caption, QStringLiteral("修改分类"));
    EXPECT_EQ(node(QStringLiteral("202"))->text(0), QStringLiteral("餐饮"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT sum(Included) FROM AC_List WHERE TypeID2 = '202'")), QStringLiteral("0"));

    // Address-book group: the dialog without the box.
    select(QStringLiteral("5"));
    fill = [](QDialog* d) {
        auto* f = qobject_cast<TAddOtherTypeFrm*>(d);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->FlagCheckBox, nullptr);
        f->TypeNameEdit->setText(QStringLiteral("同学"));
        f->BitBtn1Click();
    };
    w->DirAdd->trigger();
    ASSERT_NE(node(QStringLiteral("502")), nullptr);

    // An empty name closes as cancelled.
    select(QStringLiteral("3"));
    fill = [](QDialog* d) {
        static_cast<TAddTypeFrm*>(d)->TypeNameEdit->setText(QStringLiteral("   "));
        static_cast<TAddTypeFrm*>(d)->BitBtn1Click();
    };
    w->DirAdd->trigger();
    EXPECT_EQ(node(QStringLiteral("302")), nullptr);
}

TEST_F(CategoryTreeCommands, PropertiesBalanceClicksAndAccountEdits)
{
    seedCatalogue();
    TMainFrm* w = open();
    QStringList captions;
    std::function<void(QDialog*)> fill = [](QDialog*) {};
    w->execDialog = [&](QDialog* d) {
        captions << d->windowTitle();
        fill(d);
        return d->result();
    };
    // A click on a balance row shows that account in the tree.
    w->DBGridBalanceCellClick(1);
    EXPECT_EQ(w->currentTypeId(), QStringLiteral("102"));
    EXPECT_TRUE(w->DirProperty->isEnabled());
    // Double click on the tree opens the properties in view mode.
    emit w->TreeView1->itemDoubleClicked(node(QStringLiteral("102")), 0);
    EXPECT_EQ(captions, QStringList{QStringLiteral("帐户属性")});
    // Not for a category.
    select(QStringLiteral("201"));
    emit w->TreeView1->itemDoubleClicked(node(QStringLiteral("201")), 0);
    EXPECT_EQ(captions.size(), 1);

    // Editing an account to off-book changes its icon and the footers.
    select(QStringLiteral("102"));
    fill = [](QDialog* d) {
        auto* f = static_cast<TActInfoFrm*>(d);
        f->FlagCheckBox->setChecked(true);
        f->BitBtn1Click();
    };
    w->DirEdit->trigger();
    EXPECT_EQ(captions.last(), QStringLiteral("修改帐户"));
    EXPECT_TRUE(CategoryTree::fundFlag(node(QStringLiteral("102"))));
    EXPECT_EQ(w->balanceGrid->footerLabel(0, 1)->text(), QStringLiteral("123.45"));
    EXPECT_EQ(w->balanceGrid->footerLabel(1, 1)->text(), QStringLiteral("70.00"));

    // New account from the funds class.
    select(QStringLiteral("1"));
    fill = [](QDialog* d) {
        auto* f = static_cast<TActInfoFrm*>(d);
        f->TypeNameEdit->setText(QStringLiteral("零钱"));
        f->BitBtn1Click();
    };
    w->DirAdd->trigger();
    EXPECT_EQ(captions.last(), QStringLiteral("新增帐户"));
    ASSERT_NE(node(QStringLiteral("104")), nullptr);
    EXPECT_EQ(w->DBGridBalance->model()->rowCount(), 4);
}
