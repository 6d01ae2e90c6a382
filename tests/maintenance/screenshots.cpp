// Renders the backup and restore dialogs, the options dialog, the about box,
// the splash screen and the progress dialog to PNG files (not a test: run it
// by hand under xvfb-run -a to look at the windows).
//   maintenance_screenshots <output folder> <resources folder>
#include "backuprestore.h"
#include "taboutfrm.h"
#include "testdb.h"
#include "tflashbox.h"
#include "toptionsfrm.h"
#include "tprogressbardlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

namespace {

QString out;

void save(QWidget* w, const QString& name)
{
    w->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    w->grab().save(QDir(out).filePath(name + QStringLiteral(".png")));
}

void messageBox(const QString& title, const QString& text, QMessageBox::Icon icon, bool cancel, const QString& name)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon);
    box.setStandardButtons(cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    save(&box, name);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTranslator qt;
    if (qt.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qt);
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);
    out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/shots/maint");
    const QString resources = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("resources");
    QDir().mkpath(out);

    TestFolder f;
    auto dm = f.makeDataModule();

    TOptionsFrm options(dm.get(), &f.messages);
    save(&options, QStringLiteral("options-general"));
    options.PageControl1->setCurrentWidget(options.TabInOut);
    save(&options, QStringLiteral("options-inout"));
    options.hide();

    // The backup's save dialog and the restore's open dialog, as the routines ask for them.
    BackupRestore br(dm.get(), &f.messages, nullptr);
    const QString folder = br.startFolder();
    QFile(folder + QStringLiteral("/ZelkoAccount20080105.mdb")).open(QIODevice::WriteOnly);
    {
        QFileDialog d(nullptr, QStringLiteral("保存为"), folder, QStringLiteral("数据文件 (*.mdb)"));
        d.setOption(QFileDialog::DontUseNativeDialog);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.selectFile(BackupRestore::defaultFileName(QDate::currentDate()));
        d.resize(640, 420);
        save(&d, QStringLiteral("backup-dialog"));
    }
    {
        QFileDialog d(nullptr, QStringLiteral("打开"), folder, QStringLiteral("数据文件 (*.mdb)"));
        d.setOption(QFileDialog::DontUseNativeDialog);
        d.setFileMode(QFileDialog::ExistingFile);
        d.resize(640, 420);
        save(&d, QStringLiteral("restore-dialog"));
    }
    messageBox(QStringLiteral("重要提示"), QStringLiteral("目标文件已存在，是否覆盖？"), QMessageBox::Warning, true,
               QStringLiteral("backup-overwrite"));
    messageBox(QStringLiteral("提示"), QStringLiteral("数据备份完成！"), QMessageBox::Information, false,
               QStringLiteral("backup-done"));
    messageBox(QStringLiteral("重要提示"), QStringLiteral("用户数据将被覆盖，是否继续？"), QMessageBox::Question, true,
               QStringLiteral("restore-question1"));
    messageBox(QStringLiteral("警告"), QStringLiteral("该用户当前所有记录将被全部删除，是否继续？"),
               QMessageBox::Warning, true, QStringLiteral("restore-question2"));
    messageBox(QStringLiteral("错误"), QStringLiteral("源数据文件不是有效的数据文件！"), QMessageBox::Critical, false,
               QStringLiteral("restore-refused"));

    TAboutFrm about(dm.get(), nullptr);
    save(&about, QStringLiteral("about"));
    about.hide();

    {
        TFlashBox builtIn(f.programFolder());
        save(&builtIn, QStringLiteral("splash-builtin"));
    }
    QDir(f.programFolder()).mkpath(QStringLiteral("Images"));
    QFile::copy(resources + QStringLiteral("/Images/Flash.jpg"), f.path(QStringLiteral("Images/Flash.jpg")));
    {
        TFlashBox shipped(f.programFolder());
        save(&shipped, QStringLiteral("splash"));
    }

    TProgressBarDlg progress(dm.get());
    progress.setWindowTitle(QStringLiteral("正在修复压缩数据..."));
    progress.show();
    progress.setMaximum(10);
    for (int i = 0; i < 6; ++i)
        progress.step();
    save(&progress, QStringLiteral("progress"));
    return 0;
}
