#include "testdb.h"

#include "passwords.h"
#include "schema.h"

#include <QDir>

TestFolder::TestFolder(bool withDatabase)
{
    QDir(dir_.path()).mkpath(QStringLiteral("Data"));
    if (withDatabase) {
        QString error;
        Schema::createDeliveredFile(databasePath(), &error);
    }
}

QString TestFolder::programFolder() const { return dir_.path() + QLatin1Char('/'); }

std::unique_ptr<TDataModule1> TestFolder::makeDataModule()
{
    TDataModule1::Services s;
    s.messages = &messages;
    s.sound = &sound;
    s.skins = &skins;
    return std::make_unique<TDataModule1>(programFolder(), s);
}

void addUserRow(Database& db, int id, const QString& name, const QString& password, bool locked,
                const QString& description)
{
    db.exec(QStringLiteral("INSERT INTO AC_User VALUES (?, ?, ?, ?, ?)"),
            {id, name, Passwords::hash(password), description, locked});
}
