// Pictures of the import, export and print windows (not a test; built on
// request and run under xvfb-run): writes PNG files to /tmp/shots/interchange.
#include "../mainwindow/mainfixture.h"

#include "interchangeinstall.h"
#include "tprogressbardlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace {
const QString kOut = QStringLiteral("/tmp/shots/interchange/");

void shoot(QWidget* w, const QString& name)
{
    w->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    w->grab().save(kOut + name);
}

class Shots : public MainFixture {
public:
    void TestBody() override {}
    void run()
    {
        SetUp();
        dm->writeSetting(6, QStringLiteral("6"));
        TableFile::Rows rows{Importer::titles(ImportKind::Ledger),
                             {QStringLiteral("2026-3-2"), QStringLiteral("工资"), QStringLiteral("三月"), QStringLiteral("8,000.00"), {}, QStringLiteral("工资卡"), {}, {}},
                             {QStringLiteral("2026-3-3"), QStringLiteral("转出"), QStringLiteral("取现"), {}, QStringLiteral("500.00"), QStringLiteral("工资卡"), {}, QStringLiteral("现金")},
                             {QStringLiteral("2026-3-4"), QStringLiteral("伙食"), QStringLiteral("午饭"), {}, QStringLiteral("12.50"), QStringLiteral("现金"), {}, {}}};
        Importer::recognise(ImportKind::Ledger, &rows);
        ImportLog log;
        Importer(*dm).run(ImportKind::Ledger, rows, log);
        open();
        auto* c = installInterchange(*win, *dm, folder.messages, files, desktop);
        win->resize(1200, 800);
        select(QStringLiteral("1"));
        shoot(win.get(), QStringLiteral("main_ledger.png"));

        c->showPreview = [](QPrintPreviewDialog* d) {
            d->resize(1000, 760);
            shoot(d, QStringLiteral("print_preview.png"));
        };
        win->ActPrint->trigger();

        shootDialogs();
        TearDown();
    }
    void shootDialogs()
    {
        QFileDialog open(win.get(), QStringLiteral("打开"), QDir::tempPath(),
                         QStringLiteral("Web网页 (*.htm);;文本文件 (*.txt);;Excel文件 (*.xls)"));
        open.setOption(QFileDialog::DontUseNativeDialog);
        open.selectNameFilter(QStringLiteral("Excel文件 (*.xls)"));
        open.resize(800, 500);
        shoot(&open, QStringLiteral("import_dialog.png"));
        open.hide();

        QFileDialog save(win.get(), QStringLiteral("保存为"), QDir::tempPath(),
                         QStringLiteral("Web网页 (*.htm);;文本文件 (*.txt);;Excel文件 (*.xls)"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        save.selectNameFilter(QStringLiteral("Excel文件 (*.xls)"));
        save.resize(800, 500);
        shoot(&save, QStringLiteral("export_dialog.png"));
        save.hide();

        TProgressBarDlg progress(dm.get(), win.get());
        progress.setWindowTitle(QStringLiteral("正在导入数据..."));
        progress.setMaximum(10);
        for (int i = 0; i < 4; ++i)
            progress.step();
        shoot(&progress, QStringLiteral("import_progress.png"));
        progress.hide();
    }
};
} // namespace

int main(int argc, char** argv)
{
    // The per-user store goes to a scratch folder, never the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    QDir().mkpath(kOut);
    Shots s;
    s.run();
    return 0;
}
