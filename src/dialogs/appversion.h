#pragma once
// The program's version as the windows show it.

#include <QString>

inline const QString kProgramVersion = QStringLiteral("2.8");
