#pragma once
// The desktop's message boxes and file dialogs behind the program's interfaces.

#include "services.h"

class QWidget;

class QtMessageBox : public IMessageBox {
public:
    MsgAnswer show(const QString& title, const QString& text, MsgIcon icon, MsgButtons buttons) override;
};

class QtFileDialog : public IFileDialog {
public:
    QString openFile(const FileDialogRequest& r) override;
    QString saveFile(const FileDialogRequest& r) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
};

class QtDesktop : public IDesktop {
public:
    bool openUrl(const QString& url) override;
};
