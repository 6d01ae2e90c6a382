// Draws the program's pictures: the splash background (built-in and
// Images/Flash.jpg), the about-box picture and the 28x28 logo.
// Run once when the artwork changes: zelko-artwork <resources/Images folder>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kNavy(0x12, 0x35, 0x5b);
const QColor kTeal(0x1f, 0x7a, 0x8c);
const QColor kGold(0xf2, 0xb1, 0x34);

// A house whose door is a coin: the program's emblem, drawn into r.
void drawEmblem(QPainter& p, const QRectF& r, const QColor& line, qreal width, const QColor& coin)
{
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / 100.0, r.height() / 100.0);
    const qreal w = width * 100.0 / r.width();
    QPen pen(line, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath roof;
    roof.moveTo(10, 48);
    roof.lineTo(50, 12);
    roof.lineTo(90, 48);
    p.drawPath(roof);
    QPainterPath body;
    body.moveTo(20, 40);
    body.lineTo(20, 88);
    body.lineTo(80, 88);
    body.lineTo(80, 40);
    p.drawPath(body);
    // chimney
    p.drawLine(QPointF(70, 22), QPointF(70, 32));
    // the coin
    p.setBrush(coin);
    p.setPen(QPen(line, w * 0.8));
    p.drawEllipse(QPointF(50, 62), 16, 16);
    QPen ypen(line, w * 0.75, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ypen);
    p.drawLine(QPointF(43, 53), QPointF(50, 61));
    p.drawLine(QPointF(57, 53), QPointF(50, 61));
    p.drawLine(QPointF(50, 61), QPointF(50, 72));
    p.drawLine(QPointF(44, 62), QPointF(56, 62));
    p.drawLine(QPointF(44, 67), QPointF(56, 67));
    p.restore();
}

void background(QPainter& p, const QSizeF& s)
{
    QLinearGradient g(0, 0, s.width(), s.height());
    g.setColorAt(0.0, kNavy);
    g.setColorAt(1.0, kTeal);
    p.fillRect(QRectF(QPointF(0, 0), s), g);
    QRadialGradient glow(QPointF(s.width() * 0.82, s.height() * 0.18), s.width() * 0.55);
    glow.setColorAt(0.0, QColor(255, 255, 255, 60));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(QPointF(0, 0), s), glow);
}

// A soft rising line with its area: the household's balance going up.
void growthLine(QPainter& p, const QSizeF& s)
{
    const qreal h = s.height();
    const qreal w = s.width();
    const QList<QPointF> pts{{0, h * 0.86}, {w * 0.14, h * 0.80}, {w * 0.27, h * 0.83}, {w * 0.42, h * 0.72},
                             {w * 0.55, h * 0.75}, {w * 0.70, h * 0.62}, {w * 0.84, h * 0.64}, {w, h * 0.50}};
    QPainterPath line;
    line.moveTo(pts.first());
    for (int i = 1; i < pts.size(); ++i)
        line.lineTo(pts[i]);
    QPainterPath area = line;
    area.lineTo(w, h);
    area.lineTo(0, h);
    area.closeSubpath();
    QLinearGradient fill(0, h * 0.5, 0, h);
    fill.setColorAt(0, QColor(255, 255, 255, 46));
    fill.setColorAt(1, QColor(255, 255, 255, 6));
    p.fillPath(area, fill);
    p.setPen(QPen(QColor(255, 255, 255, 110), s.width() / 300.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.setBrush(kGold);
    p.setPen(Qt::NoPen);
    p.drawEllipse(pts.last() - QPointF(w * 0.012, 0), w * 0.009, w * 0.009);
}

QImage splash(const QSize& size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s = size;
    background(p, s);
    growthLine(p, s);
    // a large, quiet emblem on the right
    const qreal e = s.height() * 0.50;
    drawEmblem(p, QRectF(s.width() * 0.70, s.height() * 0.13, e, e), QColor(255, 255, 255, 90), s.width() / 160.0,
               QColor(255, 255, 255, 30));
    // tagline under the title the window draws
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qRound(s.height() * 0.055));
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QPointF(s.width() * 0.085, s.height() * 0.53), QStringLiteral("记录每一笔收支，看清每一分钱的去向"));
    p.setPen(QPen(kGold, s.height() / 180.0));
    p.drawLine(QPointF(s.width() * 0.087, s.height() * 0.45), QPointF(s.width() * 0.20, s.height() * 0.45));
    return img;
}

QImage aboutPicture()
{
    const QSize size(177 * 2, 225 * 2);
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s = size;
    background(p, s);
    growthLine(p, s);
    drawEmblem(p, QRectF(s.width() * 0.22, s.height() * 0.14, s.width() * 0.56, s.width() * 0.56), Qt::white,
               s.width() / 36.0, kGold);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qRound(s.height() * 0.085));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, s.height() * 0.56, s.width(), s.height() * 0.12), Qt::AlignCenter, QStringLiteral("Zelko"));
    f.setBold(false);
    f.setPixelSize(qRound(s.height() * 0.055));
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRectF(0, s.height() * 0.67, s.width(), s.height() * 0.08), Qt::AlignCenter, QStringLiteral("家庭理财"));
    return img.scaled(177, 225, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage logo()
{
    QImage img(112, 112, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(0, 0, 112, 112), 22, 22);
    drawEmblem(p, QRectF(10, 8, 92, 92), Qt::white, 8.5, QColor(255, 255, 255, 0));
    p.end();
    return img.scaled(56, 56, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QDir d(out);
    bool ok = splash(QSize(946, 538)).save(d.filePath(QStringLiteral("Flash.jpg")), "JPG", 92);
    ok = splash(QSize(473, 269)).save(d.filePath(QStringLiteral("splash-builtin.jpg")), "JPG", 92) && ok;
    ok = aboutPicture().save(d.filePath(QStringLiteral("about.png"))) && ok;
    ok = logo().save(d.filePath(QStringLiteral("logo.png"))) && ok;
    return ok ? 0 : 1;
}
