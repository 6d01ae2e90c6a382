#pragma once
// A program folder of its own for each test: a temporary folder holding
// Data/Account.mdb made from the schema, and the per-user settings store
// pointed at a temporary folder too. Nothing touches the user's real files.

#include "datamodule.h"
#include "fakes.h"

#include <QTemporaryDir>
#include <memory>

class TestFolder {
public:
    // withDatabase=false leaves Data/ empty (for the missing-file case).
    explicit TestFolder(bool withDatabase = true);
    QString programFolder() const; // ends with '/'
    QString databasePath() const { return programFolder() + QStringLiteral("Data/Account.mdb"); }
    QString path(const QString& relative) const { return programFolder() + relative; }

    // A data module connected to this folder's database, with fakes.
    std::unique_ptr<TDataModule1> makeDataModule();

    FakeMessageBox messages;
    FakeSound sound;
    FakeSkins skins;

private:
    QTemporaryDir dir_;
};

// Adds a user with the given id, name and password (hashed) straight into AC_User.
void addUserRow(Database& db, int id, const QString& name, const QString& password, bool locked = false,
                const QString& description = QString());
