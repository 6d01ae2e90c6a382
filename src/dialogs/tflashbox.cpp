#include "tflashbox.h"

#include "appversion.h"
#include "artwork.h"
#include "datamodule.h"
#include "taboutfrm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QThread>

TFlashBox::TFlashBox(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    Artwork::init();
    setObjectName(QStringLiteral("TFlashBox"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    int height = kHeight;
    const QString file = programFolder + QStringLiteral("Images/Flash.jpg");
    QPixmap fromFile;
    if (QFileInfo(file).isFile() && fromFile.load(file) && fromFile.width() > 0) {
        picture_ = fromFile;
        fromFile_ = true;
        height = heightFor(fromFile.size(), kWidth);
    } else {
        picture_.load(QStringLiteral(":/images/splash.jpg"));
    }
    setFixedSize(kWidth, qMax(height, 1));

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setFixedSize(28, 28);
    Image2->setScaledContents(true);
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    Image2->setAttribute(Qt::WA_TranslucentBackground);

    Label6 = new QLabel(QStringLiteral("Zelko家庭理财 V"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setText(Label6->text() + kProgramVersion);
    Label6->setAttribute(Qt::WA_TranslucentBackground);
    QFont tf = Label6->font();
    tf.setPixelSize(26);
    tf.setBold(true);
    Label6->setFont(tf);
    Label6->setStyleSheet(QStringLiteral("color:#ffffff;background:transparent"));
    Label6->adjustSize();

    const QString contactStyle = QStringLiteral("color:rgba(255,255,255,215);background:transparent");
    home_ = new QLabel(QStringLiteral("主页： ") + TAboutFrm::homePage(), this);
    mail_ = new QLabel(QStringLiteral("邮箱：  ") + TDataModule1::supportAddress(), this);
    for (QLabel* l : {home_, mail_}) {
        QFont f = l->font();
        f.setPixelSize(12);
        l->setFont(f);
        l->setStyleSheet(contactStyle);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->adjustSize();
    }
}

int TFlashBox::heightFor(const QSize& picture, int width)
{
    if (picture.width() <= 0)
        return kHeight;
    return int(qint64(picture.height()) * width / picture.width());
}

bool TFlashBox::wanted(TDataModule1& dm) { return dm.readSetting(18) == QLatin1String("0"); }

void TFlashBox::resizeEvent(QResizeEvent*)
{
    const int h = height();
    const int left = 40;
    const int titleY = int(h * 0.40) - Label6->height();
    Image2->move(left, titleY + (Label6->height() - Image2->height()) / 2);
    Label6->move(left + Image2->width() + 10, titleY);
    mail_->move(left, h - 14 - mail_->height());
    home_->move(left, mail_->y() - 2 - home_->height());
}

void TFlashBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), picture_);
    // the 1-pixel frame
    p.setPen(QColor(0x0b, 0x22, 0x3a));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFlashBox::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    centreOnScreen();
}

void TFlashBox::centreOnScreen()
{
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

bool TFlashBox::run(TDataModule1& dm, Timing timing)
{
    if (!wanted(dm))
        return false;
    QElapsedTimer clock;
    clock.start();
    if (!timing.elapsedMs)
        timing.elapsedMs = [&clock] { return clock.elapsed(); };
    if (!timing.sleep)
        timing.sleep = [](int ms) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(ulong(ms));
        };

    TFlashBox box(dm.programFolder());
    box.show();
    box.raise();
    box.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const qint64 spent = timing.elapsedMs();
    if (spent < kMinimumMs)
        timing.sleep(int(kMinimumMs - spent));
    for (int alpha = 255; alpha >= 0; --alpha) {
        box.setWindowOpacity(alpha / 255.0);
        if (timing.onStep)
            timing.onStep(box);
        timing.sleep(2);
    }
    box.hide();
    return true;
}
