#pragma once
// A user with a small catalogue, the ledger rules, and the grid pages in a
// plain window whose "current node" the test sets.

#include "gridpages.h"
#include "ledgerrules.h"
#include "userfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

inline Money Y(double v) { return Money::fromDouble(v); }

class GridsFixture : public UserFixture {
protected:
    void SetUp() override
    {
        signIn();
        if (HasFatalFailure())
            return;
        addUserRow(dm->db(), 2, QStringLiteral("李四"), QString());
        addCommonTypes();
        addType(QStringLiteral("501"), QStringLiteral("同事"), QStringLiteral("5"), false);
        addType(QStringLiteral("502"), QStringLiteral("同学"), QStringLiteral("5"), false);
        addType(QStringLiteral("601"), QStringLiteral("新闻"), QStringLiteral("6"), false);
        dm->db().exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '', 0, '2026-01-01', 12, 0, 1)"));
        dm->db().exec(QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, 1)"));
        rules = std::make_unique<LedgerRules>(dm.get());

        window = std::make_unique<QWidget>();
        window->resize(1000, 600);
        auto* l = new QVBoxLayout(window.get());
        for (QWidget** p : {&ledgerPage, &planPage, &fulfilPage, &addressPage, &memoPage}) {
            *p = new QWidget;
            new QVBoxLayout(*p);
            l->addWidget(*p);
        }
        GridHost host;
        host.window = window.get();
        host.ledgerPage = ledgerPage;
        host.planPage = planPage;
        host.fulfilmentPage = fulfilPage;
        host.addressPage = addressPage;
        host.memoPage = memoPage;
        host.currentNode = [this] { return node; };
        host.setStatus1 = [this](const QString& t) { status1 = t; };
        host.setTicked = [this](QAction*, bool on) { ticked = on; };
        host.actTransferVisible = &transferAction;
        pages = std::make_unique<GridPages>(dm.get(), rules.get(), &folder.messages, &desktop, host);
        pages->today = [this] { return today; };
        for (RecordSet* q : {dm->ADOQuery6, dm->ADOQuery7, dm->ADOQuery8, dm->ADOQuery9, dm->ADOQuery10,
                             dm->ADOTable2, dm->ADOTable3, dm->ADOTable4})
            q->open();
        folder.messages.clear();
    }
    void TearDown() override
    {
        pages.reset();
        window.reset();
        rules.reset();
        dm.reset();
    }

    // A stored entry straight into the table (no posting rules).
    void addEntry(int actId, const QDate& date, const QString& account, const QString& category, double in, double out,
                  const QString& mark = QString(), bool included = true, int user = 1)
    {
        const Money i = Y(in), o = Y(out);
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, 0, NULL, ?, ?, ?)"),
                                  {actId, date, i.raw(), o.raw(), account, category, mark, included, user,
                                   (i - o).abs().raw()}));
    }
    void show()
    {
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }
    void selectNode(const QString& typeId, const QString& flag)
    {
        node.typeId = typeId;
        node.typeFlag = flag;
        pages->listRefresh(QString(node.branch()));
    }
    RecordSet* ledger() { return dm->ADOTable1; }

    FakeDesktop desktop;
    std::unique_ptr<LedgerRules> rules;
    std::unique_ptr<QWidget> window;
    QWidget *ledgerPage = nullptr, *planPage = nullptr, *fulfilPage = nullptr, *addressPage = nullptr,
            *memoPage = nullptr;
    std::unique_ptr<GridPages> pages;
    GridNode node;
    QDate today{2026, 12, 11};
    QString status1;
    bool ticked = false;
    QAction transferAction{nullptr};
};
