#include "calendarinstall.h"
#include "calendarpage.h"

#include "tmainfrm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QStandardItemModel>
#include <QTableView>

namespace {

// The festival settings grid: its columns, row colours and the "合计"
// footer. The festival settings are not kept anywhere yet, so it has no rows.
void setUpFestivalGrid(TMainFrm& frm)
{
    QTableView* grid = frm.DBGridEh2;
    auto* model = new QStandardItemModel(0, 5, grid);
    const QStringList titles = {QStringLiteral("启用"), QStringLiteral("日期"), QStringLiteral("说明"),
                                QStringLiteral("间隔"), QStringLiteral("单位")};
    model->setHorizontalHeaderLabels(titles);
    const QStringList fields = {QStringLiteral("AlertDate"), QStringLiteral("DueDate"), QStringLiteral("Description"),
                                QStringLiteral("Span"), QStringLiteral("Type")};
    for (int c = 0; c < fields.size(); ++c)
        model->setHeaderData(c, Qt::Horizontal, fields.at(c), Qt::UserRole);
    grid->setModel(model);
    grid->setAlternatingRowColors(true);
    QPalette p = grid->palette();
    p.setColor(QPalette::Base, QColor(255, 245, 232));
    p.setColor(QPalette::AlternateBase, QColor(238, 254, 218));
    grid->setPalette(p);
    grid->horizontalHeader()->setSortIndicatorShown(true);
    grid->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setColumnWidth(2, 300);

    auto* footer = new QWidget(frm.GroupBox4);
    footer->setObjectName(QStringLiteral("DBGridEh2Footer"));
    auto* fl = new QHBoxLayout(footer);
    fl->setContentsMargins(0, 0, 0, 0);
    auto* total = new QLabel(QStringLiteral("合计"), footer);
    total->setObjectName(QStringLiteral("DBGridEh2FooterLabel"));
    total->setFrameShape(QFrame::Panel);
    total->setFrameShadow(QFrame::Sunken);
    total->setAlignment(Qt::AlignCenter);
    fl->addWidget(total);
    fl->addStretch();
    auto keepAligned = [grid, total] {
        total->setFixedWidth(grid->verticalHeader()->width() + grid->columnWidth(0) + grid->frameWidth());
    };
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionResized, footer, keepAligned);
    keepAligned();
    frm.GroupBox4->layout()->addWidget(footer);
}

} // namespace

void installCalendar(TMainFrm& frm, TDataModule1&, IMessageBox&, IFileDialog&, IDesktop&)
{
    auto* page = new CalendarPage(frm.calendarArea);
    if (!frm.calendarArea->layout())
        new QVBoxLayout(frm.calendarArea);
    frm.calendarArea->layout()->addWidget(page);
    setUpFestivalGrid(frm);
}

CalendarPage* calendarPageOf(TMainFrm& frm) { return frm.calendarArea->findChild<CalendarPage*>(); }
