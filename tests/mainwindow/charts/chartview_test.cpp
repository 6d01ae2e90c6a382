// Mouse work on a chart: click zoom, the value readout, no zoom on a pie.

#include "chartview.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QMouseEvent>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {

struct Fixture {
    Fixture()
    {
        auto* c = new QChart;
        auto* set = new QBarSet(QStringLiteral("收入"));
        *set << 100 << 300 << 200;
        auto* s = new QBarSeries;
        s->append(set);
        c->addSeries(s);
        x = new QCategoryAxis;
        x->setRange(-0.5, 2.5);
        y = new QValueAxis;
        y->setRange(0, 400);
        c->addAxis(x, Qt::AlignBottom);
        c->addAxis(y, Qt::AlignLeft);
        s->attachAxis(x);
        s->attachAxis(y);
        view = std::make_unique<ChartView>(c);
        view->resize(600, 400);
        view->onClick = [this] { ++clicks; };
        view->show();
        QApplication::processEvents();
    }
    QPoint plotPoint(double fx, double fy) const
    {
        const QRectF p = view->chart()->plotArea();
        return view->mapFromScene(QPointF(p.left() + p.width() * fx, p.top() + p.height() * fy));
    }
    void move(const QPoint& at)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
    std::unique_ptr<ChartView> view;
    QCategoryAxis* x;
    QValueAxis* y;
    int clicks = 0;
};

} // namespace

TEST(ChartViewMouse, LeftClickZoomsInRightClickZoomsOut)
{
    Fixture f;
    const double width = f.y->max() - f.y->min();
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, f.plotPoint(0.5, 0.5));
    EXPECT_EQ(f.clicks, 1);
    EXPECT_NEAR(f.y->max() - f.y->min(), width / 1.05, width * 0.01);
    QTest::mouseClick(f.view->viewport(), Qt::RightButton, {}, f.plotPoint(0.5, 0.5));
    EXPECT_EQ(f.clicks, 2);
    EXPECT_NEAR(f.y->max() - f.y->min(), width / 1.05 / 0.95, width * 0.01);

    // A pie has no zoom; the click still sounds.
    f.view->setInteractive(false);
    const double before = f.y->max() - f.y->min();
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, f.plotPoint(0.5, 0.5));
    EXPECT_EQ(f.clicks, 3);
    EXPECT_DOUBLE_EQ(f.y->max() - f.y->min(), before);
}

TEST(ChartViewMouse, ReadoutShowsTheValueAtThePointerInsideThePlot)
{
    Fixture f;
    f.move(f.plotPoint(0.3, 0.25)); // a quarter from the top of 0..400
    ASSERT_TRUE(f.view->readoutVisible());
    bool ok = false;
    const double v = QString(f.view->readoutText()).remove(',').toDouble(&ok);
    ASSERT_TRUE(ok) << f.view->readoutText().toStdString();
    EXPECT_NEAR(v, 300, 4);
    f.move(QPoint(2, 2)); // outside the plotting rectangle
    EXPECT_FALSE(f.view->readoutVisible());
    f.move(f.plotPoint(0.5, 0.5));
    EXPECT_TRUE(f.view->readoutVisible());
    f.view->hideReadout();
    EXPECT_FALSE(f.view->readoutVisible());
}
