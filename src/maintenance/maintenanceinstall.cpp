#include "maintenanceinstall.h"

#include "datamodule.h"
#include "maintenancecommands.h"
#include "tmainfrm.h"
#include "tprogressbardlg.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace {

// Owns the commands and the reader of old files for the life of the window.
class MaintenanceExtra : public QObject {
public:
    MaintenanceExtra(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files, IDesktop& desktop)
        : QObject(&frm), commands(&dm, &messages, &files, &desktop, &reader)
    {
        setObjectName(QStringLiteral("MaintenanceExtra"));
        TMainFrm* w = &frm;
        TDataModule1* d = &dm;
        commands.showProgress = [this, w, d](const QString& caption) {
            delete dialog;
            dialog = new TProgressBarDlg(d, w);
            dialog->setWindowTitle(caption);
            dialog->show(); // no modal loop: the work runs on
        };
        commands.progress.setMaximum = [this](int n) {
            if (dialog)
                dialog->setMaximum(n);
        };
        commands.progress.step = [this] {
            if (dialog)
                dialog->step();
        };
        commands.freeProgress = [this] {
            delete dialog;
        };
        commands.suspendGrids = [d] {
            for (RecordSet* rs : {d->ADOTable1, d->ADOTable2, d->ADOTable3, d->ADOTable4})
                rs->disableControls();
        };
        commands.resumeGrids = [d] {
            for (RecordSet* rs : {d->ADOTable1, d->ADOTable2, d->ADOTable3, d->ADOTable4})
                rs->enableControls();
        };
        commands.rebuildTree = [w] {
            w->buildTree();
            w->refreshBalances();
        };
    }

    JetV1Reader reader;
    MaintenanceCommands commands;
    QPointer<TProgressBarDlg> dialog;
};

} // namespace

void installMaintenanceExtra(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                             IDesktop& desktop)
{
    auto* extra = new MaintenanceExtra(frm, dm, messages, files, desktop);
    MaintenanceCommands* c = &extra->commands;
    frm.actionHooks.insert(QStringLiteral("ActVerify"), [c] { c->actVerify(); });
    frm.actionHooks.insert(QStringLiteral("ActUpgrade"), [c] { c->actUpgrade(); });
}

MaintenanceCommands* maintenanceExtraCommands(TMainFrm& frm)
{
    auto* extra = static_cast<MaintenanceExtra*>(frm.findChild<QObject*>(QStringLiteral("MaintenanceExtra"),
                                                                          Qt::FindDirectChildrenOnly));
    return extra ? &extra->commands : nullptr;
}
