#include "messagebox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

MsgAnswer QtMessageBox::show(const QString& title, const QString& text, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::NoIcon: break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

static QString start(const FileDialogRequest& r)
{
    return r.fileName.isEmpty() ? r.folder : QDir(r.folder).filePath(r.fileName);
}

QString QtFileDialog::openFile(const FileDialogRequest& r)
{
    QString chosen = r.filterChoice;
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), r.title, start(r), r.filter, &chosen);
    if (r.chosenFilter)
        *r.chosenFilter = chosen;
    return path;
}

QString QtFileDialog::saveFile(const FileDialogRequest& r)
{
    QFileDialog d(QApplication::activeWindow(), r.title, r.folder, r.filter);
    d.setAcceptMode(QFileDialog::AcceptSave);
    // Callers ask about an existing file themselves, once.
    d.setOption(QFileDialog::DontConfirmOverwrite);
    d.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty())
        d.selectFile(r.fileName);
    if (!r.filterChoice.isEmpty())
        d.selectNameFilter(r.filterChoice);
    const bool accepted = d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty();
    if (r.chosenFilter)
        *r.chosenFilter = d.selectedNameFilter();
    return accepted ? d.selectedFiles().first() : QString();
}

QString QtFileDialog::chooseFolder(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, folder);
}

bool QtDesktop::openUrl(const QString& url)
{
    const QUrl u = QUrl::fromUserInput(url);
    return QDesktopServices::openUrl(u);
}
