// Zelko家庭理财 V2.8: program entry.
#include "appstyle.h"
#include "messagebox.h"
#include "skinengine.h"
#include "soundplayer.h"
#include "startup.h"
#include "tloginfrm.h"
#include "tmainfrm.h"
#ifdef ZELKO_HAVE_CHARTS
#include "chartsinstall.h"
#endif
#ifdef ZELKO_HAVE_CALENDAR
#include "calendarinstall.h"
#endif
#ifdef ZELKO_HAVE_TOOLS
#include "toolsinstall.h"
#endif
#ifdef ZELKO_HAVE_MAINTENANCE_EXTRA
#include "maintenanceinstall.h"
#endif
#ifdef ZELKO_HAVE_INTERCHANGE
#include "interchangeinstall.h"
#endif

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(new AppStyle(QApplication::style()->name()));
    QApplication::setApplicationName(QStringLiteral("Zelko家庭理财"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zelko家庭理财"));

    // Standard buttons and dialogs in Chinese, like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
    // Fonts named by the program fall back to the desktop's CJK font.
    for (const char* name : {"宋体", "SimSun", "新宋体"})
        QFont::insertSubstitutions(QString::fromUtf8(name),
                                   {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    // A Chinese program: its own text is measured and drawn with the CJK font.
    QFont appFont = QApplication::font();
    appFont.setFamilies({QStringLiteral("Noto Sans CJK SC"), appFont.family()});
    QApplication::setFont(appFont);

    QtMessageBox messages;
    QtSoundPlayer sound;
    QtSkinEngine skins;
    QtFileDialog files;
    QtDesktop desktop;

    Startup::Environment env;
    env.programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    env.services.messages = &messages;
    env.services.sound = &sound;
    env.services.skins = &skins;
    env.signIn = [&messages](TDataModule1& dm) {
        TLoginFrm login(&dm, &messages);
        return login.exec() == QDialog::Accepted;
    };

    Startup startup(env);
    if (startup.run() != Startup::Result::Ready)
        return 0;
    std::unique_ptr<TDataModule1> dm = startup.takeDataModule();

    int rc = 0;
    {
        TMainFrm mainForm(dm.get(), &messages, &files, &desktop);
#ifdef ZELKO_HAVE_CHARTS
        installCharts(mainForm, *dm, messages, files, desktop);
#endif
#ifdef ZELKO_HAVE_CALENDAR
        installCalendar(mainForm, *dm, messages, files, desktop);
#endif
#ifdef ZELKO_HAVE_TOOLS
        installTools(mainForm, *dm, messages, files, desktop);
#endif
#ifdef ZELKO_HAVE_MAINTENANCE_EXTRA
        installMaintenanceExtra(mainForm, *dm, messages, files, desktop);
#endif
#ifdef ZELKO_HAVE_INTERCHANGE
        installInterchange(mainForm, *dm, messages, files, desktop);
#endif
        mainForm.start();
        rc = app.exec();
    }
    dm.reset(); // closes the connection
    return rc;
}
