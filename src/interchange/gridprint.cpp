#include "gridprint.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace GridPrint {

QString pageText(int page, int pages) { return QStringLiteral("第%1页/共%2页").arg(page).arg(pages); }

int paint(const PrintTable& t, QPagedPaintDevice* device, QPainter* p, int dpi)
{
    const double scale = dpi / 96.0;
    const QRectF page(QPointF(0, 0), device->pageLayout().paintRect(QPageLayout::Inch).size() * dpi);
    QFont titleFont(t.font.family().isEmpty() ? QStringLiteral("宋体") : t.font.family());
    titleFont.setBold(true);
    titleFont.setPixelSize(qMax(1, int(21 * scale)));
    QFont body(titleFont);
    body.setBold(false);
    body.setPixelSize(qMax(1, int(12 * scale)));
    QFont head(body);
    head.setBold(true);
    const QFontMetricsF tm(titleFont), bm(body), hm(head);

    const int columns = t.headers.size();
    double total = 0;
    for (int c = 0; c < columns; ++c)
        total += qMax(1, t.widths.value(c, 80));
    QList<double> w;
    for (int c = 0; c < columns; ++c)
        w << page.width() * qMax(1, t.widths.value(c, 80)) / (total > 0 ? total : 1);

    const double pad = 2 * scale;
    auto rowHeight = [&](const QStringList& row, const QFontMetricsF& fm) {
        double h = fm.height();
        for (int c = 0; c < columns; ++c) {
            const QRectF r = fm.boundingRect(QRectF(0, 0, qMax(1.0, w.at(c) - 2 * pad), 1e6),
                                             Qt::TextWordWrap, row.value(c));
            h = qMax(h, r.height());
        }
        return h + 2 * pad;
    };
    const double titleHeight = tm.height() * 2;   // the title and an empty line
    const double footHeight = bm.height() * 2;
    const double headerHeight = rowHeight(t.headers, hm);
    const double room = page.height() - titleHeight - footHeight - headerHeight;

    // Rows per page.
    QList<int> firstRow{0};
    double used = 0;
    QList<double> heights;
    for (int r = 0; r < t.rows.size(); ++r) {
        const double h = rowHeight(t.rows.at(r), bm);
        heights << h;
        if (used + h > room && used > 0) {
            firstRow << r;
            used = 0;
        }
        used += h;
    }
    const int pages = firstRow.size();
    if (!p)
        return pages;

    auto drawRow = [&](const QStringList& row, double y, double h, bool isHeader) {
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            const QRectF cellRect(x, y, w.at(c), h);
            if (isHeader)
                p->fillRect(cellRect, QColor(0xE8, 0xE8, 0xE8));
            p->drawRect(cellRect);
            const Qt::Alignment a = (!isHeader && t.rightAligned.value(c)) ? Qt::AlignRight : Qt::AlignLeft;
            p->drawText(cellRect.adjusted(pad, pad, -pad, -pad), int(a | Qt::AlignVCenter | Qt::TextWordWrap),
                        row.value(c));
            x += w.at(c);
        }
    };
    QPen pen(Qt::black);
    pen.setWidthF(qMax(1.0, scale * 0.5));
    for (int pg = 0; pg < pages; ++pg) {
        if (pg > 0)
            device->newPage();
        p->setPen(pen);
        p->setFont(titleFont);
        p->drawText(QRectF(0, 0, page.width(), tm.height()), Qt::AlignHCenter | Qt::AlignVCenter, t.title);
        double y = titleHeight;
        p->setFont(head);
        drawRow(t.headers, y, headerHeight, true);
        y += headerHeight;
        p->setFont(body);
        const int end = pg + 1 < pages ? firstRow.at(pg + 1) : t.rows.size();
        for (int r = firstRow.at(pg); r < end; ++r) {
            drawRow(t.rows.at(r), y, heights.at(r), false);
            y += heights.at(r);
        }
        p->drawText(QRectF(0, page.height() - footHeight, page.width(), footHeight), Qt::AlignHCenter | Qt::AlignBottom,
                    pageText(pg + 1, pages));
    }
    return pages;
}

} // namespace GridPrint
