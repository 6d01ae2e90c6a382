#include "layoutstore.h"

namespace {

int readInt(QSettings& s, const QString& name, int def)
{
    if (!s.contains(name))
        return def;
    bool ok = false;
    const int v = s.value(name).toString().trimmed().toInt(&ok);
    return ok ? v : def;
}

QString readText(QSettings& s, const QString& name, const QString& def)
{
    return s.contains(name) ? s.value(name).toString() : def;
}

void readPanel(QSettings& s, const QString& name, SidePanelState& p, int low, int high)
{
    p.size = readInt(s, name, p.size);
    if (p.size < low)
        p.size = low;
    if (high > 0 && p.size > high)
        p.size = high;
    p.collapsed = readText(s, name + QStringLiteral("Stat"), QStringLiteral("0")) == QLatin1String("1");
}

void writePanel(QSettings& s, const QString& name, const SidePanelState& p)
{
    s.setValue(name + QStringLiteral("Stat"), p.collapsed ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(name, QString::number(p.size));
}

} // namespace

void WindowLayout::read(QSettings& s, const QRect& workArea, int chrome)
{
    geometry = QRect(readInt(s, QStringLiteral("MainLeft"), workArea.left()),
                     readInt(s, QStringLiteral("MainTop"), workArea.top()),
                     readInt(s, QStringLiteral("MainWidth"), workArea.width()),
                     readInt(s, QStringLiteral("MainHeight"), workArea.height()));
    const int width = geometry.width();
    const int height = geometry.height();
    const int clientHeight = height - chrome;
    // Sizes of 14 or less (9 or less for the inner panels) are lifted to the
    // smallest usable size; sizes beyond the room they live in are cut down.
    readPanel(s, QStringLiteral("Panel1"), panel1, 15, width);
    readPanel(s, QStringLiteral("Panel3"), panel3, 10, clientHeight - 50);
    readPanel(s, QStringLiteral("Panel14"), panel14, 10, width - panel1.size);
    readPanel(s, QStringLiteral("Panel15"), panel15, 10, height - 50);
    readPanel(s, QStringLiteral("Panel16"), panel16, 10, width - panel1.size);
    readPanel(s, QStringLiteral("Panel19"), panel19, 10, clientHeight - 50);
    pageControl1 = readInt(s, QStringLiteral("PageControl1"), pageControl1);
    groupBox4 = readInt(s, QStringLiteral("GroupBox4"), groupBox4);
    treeStat = readText(s, QStringLiteral("TreeStat"), treeStat);
    fontCharset = readInt(s, QStringLiteral("FontCharset"), fontCharset);
    fontColor = readInt(s, QStringLiteral("FontColor"), fontColor);
    fontHeight = readInt(s, QStringLiteral("FontHeight"), fontHeight);
    fontName = readText(s, QStringLiteral("FontName"), fontName);
    fontSize = readInt(s, QStringLiteral("FontSize"), fontSize);
    if (fontSize <= 0)
        fontSize = 9;
    fontStyle = readText(s, QStringLiteral("FontStyle"), fontStyle);
}

void WindowLayout::write(QSettings& s) const
{
    writePanel(s, QStringLiteral("Panel1"), panel1);
    writePanel(s, QStringLiteral("Panel3"), panel3);
    writePanel(s, QStringLiteral("Panel14"), panel14);
    writePanel(s, QStringLiteral("Panel15"), panel15);
    writePanel(s, QStringLiteral("Panel16"), panel16);
    writePanel(s, QStringLiteral("Panel19"), panel19);
    s.setValue(QStringLiteral("PageControl1"), QString::number(pageControl1));
    s.setValue(QStringLiteral("TreeStat"), treeStat);
    s.setValue(QStringLiteral("FontCharset"), QString::number(fontCharset));
    s.setValue(QStringLiteral("FontColor"), QString::number(fontColor));
    s.setValue(QStringLiteral("FontHeight"), QString::number(fontHeight));
    s.setValue(QStringLiteral("FontName"), fontName);
    s.setValue(QStringLiteral("FontSize"), QString::number(fontSize));
    s.setValue(QStringLiteral("FontStyle"), fontStyle);
}

QFont WindowLayout::font() const
{
    QFont f;
    // A face that is not installed (such as 宋体) falls back to the system's
    // CJK face through the font database's substitutes.
    f.setFamilies({fontName, QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPointSize(fontSize);
    f.setBold(fontStyle.mid(0, 1) == QLatin1String("1"));
    f.setItalic(fontStyle.mid(1, 1) == QLatin1String("1"));
    f.setUnderline(fontStyle.mid(2, 1) == QLatin1String("1"));
    f.setStrikeOut(fontStyle.mid(3, 1) == QLatin1String("1"));
    return f;
}

QString WindowLayout::styleText(const QFont& f)
{
    QString t;
    t += f.bold() ? QLatin1Char('1') : QLatin1Char('0');
    t += f.italic() ? QLatin1Char('1') : QLatin1Char('0');
    t += f.underline() ? QLatin1Char('1') : QLatin1Char('0');
    t += f.strikeOut() ? QLatin1Char('1') : QLatin1Char('0');
    return t;
}

void WindowLayout::setFont(const QFont& f)
{
    fontName = f.families().value(0, f.family());
    if (f.pointSize() > 0)
        fontSize = f.pointSize();
    fontStyle = styleText(f);
}

QColor WindowLayout::color() const
{
    if (fontColor < 0)
        return QColor(); // a system colour
    // Stored as 0x00BBGGRR.
    return QColor(fontColor & 0xff, (fontColor >> 8) & 0xff, (fontColor >> 16) & 0xff);
}
