#include "calendarpage.h"
#include "lsscalendar.h"
#include "lunar.h"

#include "dates.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
QLabel* caption(const QString& text, int pixelSize, bool bold, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}
} // namespace

CalendarPage::CalendarPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CalendarPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("CalendarHeader"));
    header->setFixedHeight(60);
    header->setAutoFillBackground(true);
    QPalette hp = header->palette();
    hp.setColor(QPalette::Window, QColor(0xfb, 0xf3, 0xea));
    header->setPalette(hp);
    auto* grid = new QGridLayout(header);
    grid->setContentsMargins(8, 2, 8, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    YearComboBox = new QComboBox(header);
    YearComboBox->setObjectName(QStringLiteral("YearComboBox"));
    for (int y = Lunar::kFirstYear; y <= Lunar::kLastYear; ++y)
        YearComboBox->addItem(QString::number(y));
    YearComboBox->setMaxVisibleItems(20);
    MonthComboBox = new QComboBox(header);
    MonthComboBox->setObjectName(QStringLiteral("MonthComboBox"));
    for (int m = 1; m <= 12; ++m)
        MonthComboBox->addItem(QString::number(m));
    MonthComboBox->setMaxVisibleItems(12);
    TodayButton = new QPushButton(QStringLiteral("返回今天"), header);
    TodayButton->setObjectName(QStringLiteral("TodayButton"));

    auto* yearBox = new QHBoxLayout;
    yearBox->setSpacing(4);
    yearBox->addWidget(YearComboBox);
    yearBox->addWidget(caption(QStringLiteral("年"), 24, true, header));
    yearBox->addSpacing(6);
    yearBox->addWidget(MonthComboBox);
    yearBox->addWidget(caption(QStringLiteral("月"), 24, true, header));
    yearBox->addSpacing(10);
    yearBox->addWidget(TodayButton);
    grid->addLayout(yearBox, 0, 0, 2, 1, Qt::AlignVCenter);
    grid->addItem(new QSpacerItem(16, 1), 0, 1, 2, 1);

    const QColor textColor(0x8b, 0x1a, 0x1a);
    auto styled = [&](QLabel* l) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, textColor);
        l->setPalette(p);
        return l;
    };
    LunarLabel = styled(caption(QString(), 0, true, header));
    LunarLabel->setObjectName(QStringLiteral("LunarLabel"));
    SolarLabel = styled(caption(QString(), 0, true, header));
    SolarLabel->setObjectName(QStringLiteral("SolarLabel"));
    StemBranchLabel = styled(caption(QString(), 0, true, header));
    StemBranchLabel->setObjectName(QStringLiteral("StemBranchLabel"));

    auto* line1 = new QHBoxLayout;
    line1->addWidget(caption(QStringLiteral("农历："), 0, false, header));
    line1->addWidget(LunarLabel);
    line1->addStretch();
    auto* line2 = new QHBoxLayout;
    line2->addWidget(caption(QStringLiteral("公历："), 0, false, header));
    line2->addWidget(SolarLabel);
    line2->addSpacing(16);
    line2->addWidget(caption(QStringLiteral("干支："), 0, false, header));
    line2->addWidget(StemBranchLabel);
    line2->addStretch();
    grid->addLayout(line1, 0, 2);
    grid->addLayout(line2, 1, 2);
    grid->setColumnStretch(2, 1);
    outer->addWidget(header);

    LssCalendar1 = new TLssCalendar(this);
    outer->addWidget(LssCalendar1, 1);

    // Start: today, the boxes on its year and month, the festival table.
    Festivals::fillDefault(LssCalendar1->festivals());
    LssCalendar1->setDate(TLssCalendar::today());
    calendarChanged();

    connect(LssCalendar1, &TLssCalendar::dateChanged, this, &CalendarPage::calendarChanged);
    connect(YearComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            LssCalendar1->setYear(YearComboBox->itemText(i).toInt());
    });
    connect(MonthComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            LssCalendar1->setMonth(MonthComboBox->itemText(i).toInt());
    });
    connect(TodayButton, &QPushButton::clicked, this, &CalendarPage::backToToday);
}

void CalendarPage::backToToday()
{
    LssCalendar1->setDate(TLssCalendar::today());
    calendarChanged();
}

void CalendarPage::calendarChanged()
{
    const QDate d = LssCalendar1->date();
    SolarLabel->setText(solarText(d));
    LunarLabel->setText(lunarText(d));
    StemBranchLabel->setText(stemBranchText(d));
    const QSignalBlocker by(YearComboBox);
    const QSignalBlocker bm(MonthComboBox);
    YearComboBox->setCurrentIndex(YearComboBox->findText(QString::number(d.year())));
    MonthComboBox->setCurrentIndex(MonthComboBox->findText(QString::number(d.month())));
}

QString CalendarPage::solarText(const QDate& d) { return Dates::longText(d) + Lunar::starSign(d); }

QString CalendarPage::lunarText(const QDate& d)
{
    const Lunar::LunarDate l = Lunar::fromSolar(d);
    if (!l.isValid())
        return QString();
    return Lunar::yearText(l.year) + Lunar::monthName(l.month, l.leap) + Lunar::dayName(l.day) + QStringLiteral("    ");
}

QString CalendarPage::stemBranchText(const QDate& d)
{
    const Lunar::LunarDate l = Lunar::fromSolar(d);
    if (!l.isValid())
        return QString();
    return Lunar::stemBranchName(Lunar::yearCycle(l.year)) + QLatin1Char('(') + Lunar::elementOfYear(l.year)
        + Lunar::animalOfYear(l.year) + QStringLiteral(")年") + Lunar::stemBranchName(Lunar::monthCycle(d))
        + QStringLiteral("月") + Lunar::stemBranchName(Lunar::dayCycle(d)) + QStringLiteral("日    ");
}
