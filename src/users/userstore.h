#pragma once
// The AC_User rules shared by the sign-in window, user administration and the
// new-user wizard: look-ups, password checks, changes, the seed of a new
// user's catalogue and the removal of a user with all their rows. Every value
// is bound as a parameter; multi-statement changes run in one unit of work.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class TDataModule1;

namespace UserStore {

struct User {
    int id = -1;
    QString name;
    QString passwd;      // as stored: a hash, empty, or plain text from an older file
    QString description;
    bool locked = false;
};

// The administrator: UserID 0.
constexpr int kAdministratorId = 0;
QString administratorName();        // "管理员"
QString administratorDescription(); // "只能设置和管理其它用户，不能记帐"

std::optional<User> findByName(TDataModule1& dm, const QString& name);
std::optional<User> findById(TDataModule1& dm, int id);

// Users offered for sign-in: not the administrator, not locked, by name.
QVector<User> signInList(TDataModule1& dm);
// Every user, the administrator and locked users included, by name.
QVector<User> allUsers(TDataModule1& dm);

// Whether another row than exceptId (-1: any row) holds the name. Names
// compare without letter case. *ok is false when the look-up failed (reported).
bool nameInUse(TDataModule1& dm, const QString& name, int exceptId, bool* ok);

// The administrator row, inserted with an empty password when missing.
// False when the look-up or the insert failed (already reported).
bool ensureAdministrator(TDataModule1& dm, User* admin);

// Exact, case-sensitive check of a typed password against the stored one.
// A plain-text password from an older file that matches is stored hashed
// from then on.
bool checkPassword(TDataModule1& dm, const User& user, const QString& typed);

// Stores the password hashed (empty stays empty).
bool setPassword(TDataModule1& dm, int id, const QString& password);
bool updateProperties(TDataModule1& dm, int id, const QString& name, const QString& description, bool locked);

// max(UserID) + 1; 1 for an empty table.
int nextUserId(TDataModule1& dm);

struct SeedType {
    const char* typeId;
    const char* typeName;
    const char* typeFlag;
    bool fundFlag;
};
// The catalogue every new user starts with (34 rows, in order).
const QVector<SeedType>& seedCatalogue();

// Adds the user row, the seed catalogue and the two plan rows in one unit of
// work. On success *newId holds the new UserID; on failure nothing is written.
bool createUser(TDataModule1& dm, const QString& name, const QString& password, const QString& description,
                const QDate& today, int* newId);

// The tables holding a user's rows, in the order they are cleared.
const QStringList& userTables();
// Removes the user and all their rows in one unit of work: all or nothing.
bool deleteUser(TDataModule1& dm, int id);

} // namespace UserStore
