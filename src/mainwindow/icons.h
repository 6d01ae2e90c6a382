#pragma once
// The program's own icons (SVG, compiled in).

#include <QIcon>
#include <QString>

namespace Icons {
// The icon named `name` (file resources/icons/<name>.svg); a null icon when missing.
QIcon get(const QString& name);
// Icon of a tree node: classes by code, members by class and flag.
QIcon forNode(const QString& typeId, const QString& typeFlag, bool fundFlag);
} // namespace Icons
