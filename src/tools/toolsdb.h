#pragma once
// The calculators' own connection to the database file. It lives as long
// as its window and reports failures like the data module does, with the
// "查询记录错误" / "修改记录错误" texts under "程序错误".

#include "database.h"
#include "services.h"

#include <QString>

class ToolConnection {
public:
    explicit ToolConnection(IMessageBox* messages) : messages_(messages) {}

    // Opens the file with the program's database password; a failure is
    // shown and leaves the connection closed.
    bool open(const QString& path);
    bool isOpen() const { return db_.isOpen(); }
    Database& db() { return db_; }

    // The query routine: rows into *out (emptied on failure, which is reported).
    bool query(const QString& sql, const QVariantList& params, QueryResult* out);
    // The statement routine.
    bool exec(const QString& sql, const QVariantList& params = {});

    IMessageBox* messages() const { return messages_; }

private:
    void report(const QString& prefix, const QString& sql);
    Database db_;
    IMessageBox* messages_;
};

namespace ToolText {
// Reads a number the user typed ("1,234.5", " 12 "); empty or unreadable
// text gives *ok = false and 0.
double number(const QString& text, bool* ok = nullptr);
// Rounds to cents for display: "1,234.56".
QString money(double v);
// The text of a note file in the program folder, or "文件<name>不存在".
// UTF-8 (with or without BOM), falling back to GBK.
QString noteFile(const QString& programFolder, const QString& name);
} // namespace ToolText
