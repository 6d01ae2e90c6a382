#pragma once
// The interest calculator's tables INT_Cur, INT_Type, INT_Term and INT_Rate:
// the lists the deposit and loan tabs offer, the rate in force, and the
// checked saving and deleting of rows of the rate settings.

#include "toolsdb.h"

#include <QDate>
#include <QMap>
#include <QVector>

namespace RateTables {

enum class Table { Rate, Cur, Type, Term };

QString tableName(Table t);

struct Item {
    int id = 0;
    QString name;
};

QVector<Item> currencies(ToolConnection& c);
QVector<Item> kinds(ToolConnection& c, const QString& flag); // "C" deposit, "D" loan
QVector<Item> allKinds(ToolConnection& c);
QVector<Item> terms(ToolConnection& c);
// Terms that have a rate for this currency and deposit kind.
QVector<Item> termsFor(ToolConnection& c, int curId, int kindId);
// The rate in force on `today`: the latest effective date not after today,
// or, when every row lies in the future, the earliest one. False when none.
bool rateFor(ToolConnection& c, int curId, int kindId, int termId, const QDate& today, double* rate);

// All rows of a table in ID order.
QueryResult rows(ToolConnection& c, Table t);

// The rows with ID 0 of currencies, kinds and terms are the defaults.
bool isDefaultRecord(Table t, const QVariant& id);

struct SaveResult {
    bool ok = false;
    QString message; // shown under "提示" when the row was refused
    QString field;   // the column to put the cursor on
    QVariant id;     // the saved row's ID
};

// Checks and writes one row. originalId is null for a new row; values are
// the typed texts by column name (lookup columns hold the ID as text).
SaveResult save(ToolConnection& c, Table t, const QVariant& originalId, const QMap<QString, QString>& values,
                const QDate& today);

// Deletes one row; false (with the message) for a default record.
bool remove(ToolConnection& c, Table t, const QVariant& id, QString* message);

} // namespace RateTables
