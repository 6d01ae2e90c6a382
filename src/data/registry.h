#pragma once
// The per-user store (key \Software\ZelkoAccount): on Windows the registry
// key itself, on Linux ZelkoAccount.conf in the user's configuration folder.
// Values are strings, as the program has always written them.

#include <QSettings>
#include <QString>
#include <memory>

namespace Registry {

// The store, opened (and created when missing).
std::unique_ptr<QSettings> open();

// ZelkoAccountPath: the program folder whose default user may sign in
// automatically. Empty when missing.
QString installPath();
void setInstallPath(const QString& programFolder);
void removeInstallPath();

} // namespace Registry
