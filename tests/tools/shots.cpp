// Pictures of the calculator windows (not a test; built on request):
//   xvfb-run -a <build>/tests/tools-shots /tmp/shots/tools
#include "schemaversion.h"
#include "testdb.h"
#include "tinterestfrm.h"
#include "ttaxfrm.h"
#include "tprovisiondlg.h"
#include "toolsdb.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QComboBox>
#include <QLineEdit>
#include "amountedit.h"
#include <QTabWidget>
#include <QTest>

static void save(QWidget& w, const QString& dir, const QString& name)
{
    QTest::qWait(50);
    w.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/shots/tools");
    QDir().mkpath(dir);
    TestFolder folder;
    auto dm = folder.makeDataModule();
    SchemaVersion::check(*dm);
    FakeDesktop desktop;
    {
        TInterestFrm f(*dm, folder.messages, desktop);
        f.show();
        f.SavAmtEdit->setText(QStringLiteral("10000"));
        f.SavTypeComboBox->setCurrentIndex(1);
        f.StartDateEdit->setText(QStringLiteral("2023-03-01"));
        f.EndDateEdit->setText(QStringLiteral("2026-05-01"));
        f.SavCalcButtonClick();
        save(f, dir, QStringLiteral("interest-deposit"));
        f.PageControl1->setCurrentIndex(1);
        f.LoanAmtEdit->setText(QStringLiteral("100000"));
        f.LoanYearEdit->setText(QStringLiteral("1"));
        f.LoanRateEdit->setText(QStringLiteral("6.000"));
        f.LoanCalcButtonClick();
        save(f, dir, QStringLiteral("interest-loan"));
        f.PageControl1->setCurrentIndex(2);
        save(f, dir, QStringLiteral("interest-rates"));
        f.RatePageControl->setCurrentIndex(1);
        f.ActAddExecute();
        save(f, dir, QStringLiteral("interest-currency-insert"));
        f.CurGrid->cancelPending();
        f.RatePageControl->setCurrentIndex(2);
        save(f, dir, QStringLiteral("interest-kinds"));
        f.RatePageControl->setCurrentIndex(3);
        save(f, dir, QStringLiteral("interest-terms"));
    }
    {
        TTaxFrm f(*dm, folder.messages, desktop);
        f.show();
        save(f, dir, QStringLiteral("tax-empty"));
        QTest::keyClicks(f.PreTaxSalaryEdit, QStringLiteral("5000"));
        QTest::keyClicks(f.AnnualBonusEdit, QStringLiteral("24000"));
        QTest::keyClicks(f.PreTaxRewardEdit, QStringLiteral("30000"));
        save(f, dir, QStringLiteral("tax-calc"));
        f.PageControl1->setCurrentIndex(1);
        save(f, dir, QStringLiteral("tax-rates"));
    }
    {
        TProvisionDlg d(ToolText::noteFile(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/"),
                                           QStringLiteral("loan.txt")));
        d.show();
        save(d, dir, QStringLiteral("provision-loan"));
    }
    return 0;
}
