#include "registry.h"

namespace Registry {

std::unique_ptr<QSettings> open()
{
    // HKEY_CURRENT_USER\Software\ZelkoAccount on Windows,
    // $XDG_CONFIG_HOME/ZelkoAccount.conf elsewhere.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZelkoAccount"));
}

QString installPath() { return open()->value(QStringLiteral("ZelkoAccountPath")).toString(); }

void setInstallPath(const QString& programFolder)
{
    auto s = open();
    s->setValue(QStringLiteral("ZelkoAccountPath"), programFolder);
    s->sync();
}

void removeInstallPath()
{
    auto s = open();
    s->remove(QStringLiteral("ZelkoAccountPath"));
    s->sync();
}

} // namespace Registry
