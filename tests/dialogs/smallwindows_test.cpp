#include "taboutfrm.h"
#include "testdb.h"
#include "tflashbox.h"
#include "tprogressbardlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

void makeClickSound(TestFolder& f)
{
    QDir(f.programFolder()).mkpath(QStringLiteral("Sound"));
    QFile w(f.path(QStringLiteral("Sound/push.wav")));
    w.open(QIODevice::WriteOnly);
}

void writePicture(TestFolder& f, const QSize& size)
{
    QDir(f.programFolder()).mkpath(QStringLiteral("Images"));
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(f.path(QStringLiteral("Images/Flash.jpg")), "JPG"));
}

// The offscreen platform cannot fade windows and says so at every step.
struct QuietOpacityWarnings {
    QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& msg) {
            if (!msg.contains(QLatin1String("window opacity")))
                fprintf(stderr, "%s\n", qPrintable(msg));
        });
    ~QuietOpacityWarnings() { qInstallMessageHandler(previous); }
};

} // namespace

TEST(Splash, ShownOnlyWhileSetting18IsZero)
{
    QuietOpacityWarnings quiet;
    TestFolder f;
    auto dm = f.makeDataModule();
    int steps = 0;
    TFlashBox::Timing fast{[] { return qint64(900); }, [](int) {}, [&](TFlashBox&) { ++steps; }};
    EXPECT_TRUE(TFlashBox::wanted(*dm)) << "never stored reads as 0";
    dm->writeSetting(18, QStringLiteral("1"));
    EXPECT_FALSE(TFlashBox::run(*dm, fast));
    EXPECT_EQ(steps, 0);
    dm->writeSetting(18, QStringLiteral("0"));
    EXPECT_TRUE(TFlashBox::run(*dm, fast));
    EXPECT_EQ(steps, 256);
}

TEST(Splash, StaysAtLeast800msThenFadesOutIn256Steps)
{
    QuietOpacityWarnings quiet;
    TestFolder f;
    auto dm = f.makeDataModule();
    QList<int> sleeps;
    QList<double> opacities;
    bool visibleWhileWaiting = false;
    TFlashBox::Timing t;
    t.elapsedMs = [] { return qint64(300); };
    t.sleep = [&](int ms) {
        sleeps << ms;
        if (sleeps.size() == 1)
            for (QWidget* w : QApplication::topLevelWidgets())
                visibleWhileWaiting = visibleWhileWaiting || (qobject_cast<TFlashBox*>(w) && w->isVisible());
    };
    t.onStep = [&](TFlashBox& box) { opacities << box.windowOpacity(); };
    ASSERT_TRUE(TFlashBox::run(*dm, t));
    ASSERT_EQ(sleeps.size(), 257);
    EXPECT_EQ(sleeps.first(), 500) << "the rest of the 800 ms";
    EXPECT_EQ(sleeps.count(2), 256);
    EXPECT_TRUE(visibleWhileWaiting);
    EXPECT_DOUBLE_EQ(opacities.first(), 1.0);
    EXPECT_DOUBLE_EQ(opacities.last(), 0.0);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TFlashBox*>(w)) << "destroyed afterwards";
}

TEST(Splash, PictureFileSetsTheHeightAtTheFixedWidth)
{
    {
        TestFolder f;
        TFlashBox box(f.programFolder());
        EXPECT_FALSE(box.usesPictureFile());
        EXPECT_FALSE(box.picture().isNull()) << "the built-in picture";
        EXPECT_EQ(box.size(), QSize(473, 269));
        EXPECT_EQ(box.Label6->text(), QStringLiteral("Zelko家庭理财 V2.8"));
        EXPECT_EQ(box.Image2->size(), QSize(28, 28));
    }
    const struct { QSize picture; int height; } cases[] = {
        {{946, 300}, 150}, {{946, 538}, 269}, {{1000, 333}, 157}, {{473, 600}, 600}};
    for (const auto& c : cases) {
        TestFolder f;
        writePicture(f, c.picture);
        TFlashBox box(f.programFolder());
        EXPECT_TRUE(box.usesPictureFile());
        EXPECT_EQ(box.size(), QSize(473, c.height)) << c.picture.width() << "x" << c.picture.height();
        EXPECT_EQ(TFlashBox::heightFor(c.picture), c.height);
    }
    // A file that is not a picture leaves the built-in one.
    TestFolder f;
    QDir(f.programFolder()).mkpath(QStringLiteral("Images"));
    QFile bad(f.path(QStringLiteral("Images/Flash.jpg")));
    bad.open(QIODevice::WriteOnly);
    bad.write("not a picture");
    bad.close();
    TFlashBox box(f.programFolder());
    EXPECT_FALSE(box.usesPictureFile());
    EXPECT_EQ(box.size(), QSize(473, 269));
}

TEST(ProgressDialog, ShowsWithoutAModalLoopAndCountsSteps)
{
    TestFolder f;
    makeClickSound(f);
    auto dm = f.makeDataModule();
    TProgressBarDlg dlg(dm.get());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("正在导入数据 ..."));
    EXPECT_EQ(dlg.size(), QSize(265, 83));
    dlg.setWindowTitle(QStringLiteral("正在修复压缩数据..."));
    dlg.ProgressBar1->setValue(40);
    dlg.show(); // returns at once: the caller goes on working
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(dlg.position(), 0) << "showing starts the bar at 0";
    EXPECT_FALSE(dlg.ProgressBar1->isEnabled()) << "drawn greyed";

    dlg.setMaximum(3);
    for (int i = 0; i < 5; ++i)
        dlg.step();
    EXPECT_EQ(dlg.position(), 3);

    QTest::mouseClick(dlg.CloseBitBtn, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(f.sound.played.size(), 1);
}

TEST(AboutBox, ShowsTheVersionAndOpensItsAddresses)
{
    TestFolder f;
    makeClickSound(f);
    auto dm = f.makeDataModule();
    FakeDesktop desktop;
    TAboutFrm about(dm.get(), &desktop);
    about.open();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(about.size(), QSize(607, 315));
    EXPECT_EQ(about.Label7->text(), QStringLiteral("Version 2.8"));
    EXPECT_EQ(about.Label11->toolTip(), QStringLiteral("请不要忘记9月3日是中国抗日战争胜利纪念日！"));

    emit about.LabelMail->linkActivated(QStringLiteral("mailto:") + TDataModule1::supportAddress());
    emit about.LabelHome->linkActivated(TAboutFrm::homePage());
    EXPECT_EQ(desktop.opened,
              (QStringList{QStringLiteral("mailto:zelko.support@163.com"), TAboutFrm::homePage()}));

    QTest::mouseClick(about.BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(f.sound.played.size(), 1);

    about.open();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
}
