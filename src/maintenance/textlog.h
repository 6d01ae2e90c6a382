#pragma once
// The plain-text logs under Data/ (Verify.log, Upgrade.log): recreated on
// every run, written in GBK with CR LF line ends.

#include <QByteArray>
#include <QString>
#include <QStringList>

class TextLog {
public:
    explicit TextLog(const QString& path) : path_(path) {}
    ~TextLog() { close(); }

    // Creates the file anew (an old log is replaced). False when it cannot be written.
    bool create();
    void line(const QString& text = QString());
    // Writes what was collected; false when the file could not be written.
    bool close();

    QString path() const { return path_; }
    const QStringList& lines() const { return lines_; }

    // GBK bytes of the lines, each ended by CR LF.
    static QByteArray encode(const QStringList& lines);

private:
    QString path_;
    QStringList lines_;
    bool open_ = false;
};
