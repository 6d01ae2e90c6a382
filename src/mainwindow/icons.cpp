#include "icons.h"

#include <QFile>

static void initResources() { Q_INIT_RESOURCE(icons); }

namespace Icons {

QIcon get(const QString& name)
{
    static bool once = (initResources(), true);
    Q_UNUSED(once);
    const QString path = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    if (!QFile::exists(path))
        return QIcon();
    return QIcon(path);
}

QIcon forNode(const QString& typeId, const QString& typeFlag, bool fundFlag)
{
    if (typeFlag == QLatin1String("0"))
        return get(QStringLiteral("class") + typeId);
    if (typeFlag == QLatin1String("1"))
        return get(fundFlag ? QStringLiteral("account-offbook") : QStringLiteral("account"));
    if (typeFlag == QLatin1String("2"))
        return get(fundFlag ? QStringLiteral("expense-counted") : QStringLiteral("expense"));
    if (typeFlag == QLatin1String("3"))
        return get(fundFlag ? QStringLiteral("income-counted") : QStringLiteral("income"));
    if (typeFlag == QLatin1String("5"))
        return get(QStringLiteral("member-address"));
    if (typeFlag == QLatin1String("6"))
        return get(QStringLiteral("member-favourite"));
    if (typeFlag == QLatin1String("7"))
        return get(QStringLiteral("member-family"));
    if (typeFlag == QLatin1String("8"))
        return get(QStringLiteral("member-note"));
    return get(QStringLiteral("member-other"));
}

} // namespace Icons
