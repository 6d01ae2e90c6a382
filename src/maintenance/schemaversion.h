#pragma once
// Brings a database file to the current layout version ("2.8") at start:
// the interest-calculator tables with their first rows and the catalogue
// rows added by later versions.

#include <QString>

class TDataModule1;

namespace SchemaVersion {

inline const QString kCurrent = QStringLiteral("2.8");

// Setting 9, or for files that predate it "2.3" (has AC_Plan) or "1.0".
QString versionQuery(TDataModule1& dm);

// Runs once per start, before anyone signs in. Idempotent. All of it is
// applied in one transaction; a failure is reported and leaves the file as it was.
void check(TDataModule1& dm);

} // namespace SchemaVersion
