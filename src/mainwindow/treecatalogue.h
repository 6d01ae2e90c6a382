#pragma once
// Catalogue work behind the category tree and the account dialog: listing,
// creating, renaming and retiring the current user's catalogue rows, moving
// a member to another place in its class (re-keying every table that refers
// to it), and the bank details of an account. Every value is bound.

#include "datamodule.h"
#include "money.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace TreeCatalogue {

struct TypeRow {
    QString typeId;
    QString typeName;
    QString typeFlag;
    QString useFlag;
    bool fundFlag = false;
    Money balance;
};

// Every row in normal use (classes and members, without the system members),
// ordered by TypeID: what the tree is built from.
QVector<TypeRow> listInUse(TDataModule1& dm);
// The current user's row with this code (false when there is none).
bool readType(TDataModule1& dm, const QString& typeId, TypeRow* out);

// Creates a member of class cls; shows the duplicate or full-class box and
// returns an empty code when nothing was created.
QString createType(TDataModule1& dm, const QString& name, const QString& cls, bool flag);
// Renames a member and stores its flag; false (after the duplicate box) when
// another active member of the class has the name.
bool renameType(TDataModule1& dm, const QString& typeId, const QString& name, bool flag);
// Takes the member out of use; its row and entries stay.
bool retireType(TDataModule1& dm, const QString& typeId);

// Re-keys code `from` to `to` within class cls in every table that refers to
// it and in the catalogue itself (runs inside the caller's unit of work).
bool rekey(TDataModule1& dm, const QString& cls, const QString& from, const QString& to);

// Code of a member after moving member a in front of member b (same class).
QString codeAfterMove(const QString& code, int a, int b);
// Moves member `source` in front of member `target` of the same class and
// renumbers the members in between, in one unit of work. On success *newCode
// is the moved member's new code; on failure nothing has changed.
bool moveMember(TDataModule1& dm, const QString& source, const QString& target, QString* newCode);

// Bank details of an account (AC_Info).
struct AccountDetails {
    QString actName, cardNo, actNo, rate, term, misc, address, phone;
    QString url = QStringLiteral("http://");
    QDate openDate = QDate::currentDate();
};
// False when the account has no details row (out then holds the defaults).
bool readDetails(TDataModule1& dm, const QString& typeId, AccountDetails* out);
// Updates the details row, or inserts one when there is none.
bool saveDetails(TDataModule1& dm, const QString& typeId, const AccountDetails& d);
bool insertDetails(TDataModule1& dm, const QString& typeId, const AccountDetails& d);
bool deleteDetails(TDataModule1& dm, const QString& typeId);

} // namespace TreeCatalogue
