#include "registry.h"

namespace Registry {

std::unique_ptr<QSettings> open()
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\ZelkoAccount"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelkoAccount"));
#endif
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
