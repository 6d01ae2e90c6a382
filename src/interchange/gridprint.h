#pragma once
// Printing a list: the rows fitted to the page width under a centred bold
// title and an empty line, text wrapped so rows grow in height, the title
// row repeated on every page and "第n页/共m页" centred at the foot.

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

struct PrintTable {
    QString title;             // "收 支 明 细"
    QStringList headers;
    QList<QStringList> rows;
    QList<int> widths;         // the grid's column widths, fitted to the page
    QList<bool> rightAligned;
    QFont font;                // family of the body and foot ("宋体" or the window's font)
};

namespace GridPrint {
// The number of pages; paints them when painter is given (begun on device).
int paint(const PrintTable& t, QPagedPaintDevice* device, QPainter* painter, int dpi);
// "第1页/共3页"
QString pageText(int page, int pages);
}
