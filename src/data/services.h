#pragma once
// What the data layer needs from the desktop, as small interfaces. The
// widget layer provides the real ones (message boxes, sound, skins, file
// dialogs); tests provide fakes that answer and record every question.

#include <QString>
#include <QStringList>

enum class MsgIcon { NoIcon, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual MsgAnswer show(const QString& title, const QString& text, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) = 0;

    void info(const QString& text, const QString& title = QStringLiteral("提示"))
    {
        show(title, text, MsgIcon::Information);
    }
    void error(const QString& text, const QString& title = QStringLiteral("错误"))
    {
        show(title, text, MsgIcon::Critical);
    }
    bool confirm(const QString& title, const QString& text, MsgIcon icon)
    {
        return show(title, text, icon, MsgButtons::OkCancel) == MsgAnswer::Ok;
    }
};

struct FileDialogRequest {
    QString title;
    QString folder;
    QString fileName;
    QString filter;     // Qt form: "数据文件 (*.mdb)"
    QString defaultSuffix;
    QString filterChoice;            // the filter selected at first (empty: the first)
    QString* chosenFilter = nullptr; // when set, receives the filter the user chose
};

class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    // Empty text when the user cancelled.
    virtual QString openFile(const FileDialogRequest& r) = 0;
    virtual QString saveFile(const FileDialogRequest& r) = 0;
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
};

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Plays the wave file asynchronously; a missing file or no sound device is silent.
    virtual void play(const QString& absolutePath) = 0;
};

class ISkinEngine {
public:
    virtual ~ISkinEngine() = default;
    virtual void load(const QString& absolutePath) = 0; // and switch skinning on
    virtual void off() = 0;
};

// Opens files, web and mail addresses with their default program.
class IDesktop {
public:
    virtual ~IDesktop() = default;
    virtual bool openUrl(const QString& url) = 0;
};
