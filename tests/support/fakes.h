#pragma once
// Test doubles for the desktop interfaces: every message box is recorded
// (title, icon, text) and answered from a queue (OK when the queue is empty).

#include "services.h"

#include <QList>
#include <QStringList>
#include <functional>

struct ShownMessage {
    QString title;
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
};

class FakeMessageBox : public IMessageBox {
public:
    MsgAnswer show(const QString& title, const QString& text, MsgIcon icon, MsgButtons buttons) override;

    QList<ShownMessage> shown;
    QList<MsgAnswer> answers;                 // consumed in order
    std::function<void(const ShownMessage&)> onShow; // e.g. to look at the window state
    void answerNext(MsgAnswer a) { answers << a; }
    void clear() { shown.clear(); answers.clear(); }
    const ShownMessage& last() const { return shown.last(); }
    int count() const { return shown.size(); }
};

class FakeFileDialog : public IFileDialog {
public:
    QString openFile(const FileDialogRequest& r) override { return answer(r); }
    QString saveFile(const FileDialogRequest& r) override { return answer(r); }
    QString chooseFolder(const QString&, const QString&) override { return nextFolder; }
    QString nextPath;   // empty: cancelled
    QString nextFilter; // the filter "chosen" (empty: the request's first choice)
    QString nextFolder;
    QList<FileDialogRequest> requests;

private:
    QString answer(const FileDialogRequest& r)
    {
        requests << r;
        if (r.chosenFilter)
            *r.chosenFilter = nextFilter.isEmpty() ? r.filterChoice : nextFilter;
        return nextPath;
    }
};

class FakeSound : public ISoundPlayer {
public:
    void play(const QString& path) override { played << path; }
    QStringList played;
};

class FakeSkins : public ISkinEngine {
public:
    void load(const QString& path) override { loaded << path; on = true; }
    void off() override { on = false; ++offCount; }
    QStringList loaded;
    bool on = false;
    int offCount = 0;
};

class FakeDesktop : public IDesktop {
public:
    bool openUrl(const QString& url) override { opened << url; return true; }
    QStringList opened;
};
