#pragma once
// The catalogue of the current user (AC_Type with the shared rows of user 0):
// listing, creation with the next free code, renaming and retirement.

#include <QString>

class TDataModule1;

class Catalogue {
public:
    explicit Catalogue(TDataModule1* dm) : dm_(dm) {}

    // The rows in the scratch query ADOQuery1, ordered by TypeID. Without a
    // class: every row in normal use (classes included, system members not);
    // with a class: its members, system members included.
    bool list(const QString& classCode = QString());

    // A new member of class c named name; returns its code, or empty text when
    // nothing was created ("已有同名的分类名称，此次操作无效！" or
    // "分类已满，无法新增分类！" was shown).
    QString create(const QString& name, const QString& classCode, bool flag);

    // Renames code (and sets its flag); false after the duplicate-name box.
    bool rename(const QString& code, const QString& name, bool flag);

    // Retires code: hidden everywhere, its rows and entries kept, never reused.
    bool retire(const QString& code);

private:
    TDataModule1* dm_;
};
