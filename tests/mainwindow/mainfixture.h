#pragma once
// A signed-in user with a small catalogue and a few entries, and a main
// window over it. The per-user store is emptied for every test.

#include "categorytree.h"
#include "datamodule.h"
#include "fakes.h"
#include "tmainfrm.h"
#include "registry.h"
#include "testdb.h"

#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <memory>

class MainFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto s = Registry::open();
        s->clear();
        s->sync();
        TMainFrm::splashScreen = [this](TDataModule1&) { ++splashes; };
        dm = folder.makeDataModule();
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
        dm->currentUser = QStringLiteral("1");
        dm->writeSetting(10, QStringLiteral("0"));
    }
    void TearDown() override
    {
        if (win) {
            win->execDialog = nullptr;
            win.reset();
        }
        dm.reset();
    }

    void addType(const QString& id, const QString& name, bool fund = false, const QString& use = QStringLiteral("1"),
                 qint64 balanceRaw = 0)
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, ?, ?, ?, 1)"),
                             {id, name, id.left(1), balanceRaw, use, fund}));
    }
    void addEntry(int actId, const QString& account, const QString& category, const QString& mark,
                  const QString& relate = QString(), qint64 in = 0, qint64 out = 0)
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, '2026-01-05', ?, ?, ?, ?, ?, 0, ?, 1, 1, ?)"),
                             {actId, in, out, account, category, mark, relate.isEmpty() ? QVariant() : QVariant(relate),
                              in + out}));
    }
    // Accounts 101-103, expenses 201-205, income 301, an address group 501.
    void seedCatalogue()
    {
        addType(QStringLiteral("101"), QStringLiteral("现金"), false, QStringLiteral("1"), 1234500);
        addType(QStringLiteral("102"), QStringLiteral("工资卡"), false, QStringLiteral("1"), 500000);
        addType(QStringLiteral("103"), QStringLiteral("公积金"), true, QStringLiteral("1"), 200000);
        for (int i = 1; i <= 5; ++i)
            addType(QStringLiteral("20%1").arg(i), QStringLiteral("支出%1").arg(i));
        addType(QStringLiteral("301"), QStringLiteral("工资"));
        addType(QStringLiteral("501"), QStringLiteral("同事"));
    }
    TMainFrm* open()
    {
        win = std::make_unique<TMainFrm>(dm.get(), &folder.messages, &files, &desktop);
        return win.get();
    }
    QTreeWidgetItem* node(const QString& typeId)
    {
        QTreeWidget* t = win->TreeView1;
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QTreeWidgetItem* r = t->topLevelItem(i);
            if (CategoryTree::typeId(r) == typeId)
                return r;
            for (int j = 0; j < r->childCount(); ++j)
                if (CategoryTree::typeId(r->child(j)) == typeId)
                    return r->child(j);
        }
        return nullptr;
    }
    void select(const QString& typeId)
    {
        QTreeWidgetItem* n = node(typeId);
        ASSERT_NE(n, nullptr) << typeId.toStdString();
        win->TreeView1->setCurrentItem(n);
    }
    QString scalar(const QString& sql, const QVariantList& params = {})
    {
        dm->query(sql, params);
        return dm->ADOQuery1().isEmpty() ? QString() : dm->ADOQuery1().value(0, 0).toString();
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    FakeFileDialog files;
    FakeDesktop desktop;
    std::unique_ptr<TMainFrm> win;
    int splashes = 0;
};
