// Writes the delivered database file when it does not exist yet.
// Usage: zelko-mkdb <path/to/Data/Account.mdb>
#include "schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelko-mkdb <database file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path))
        return 0; // never overwrite a user's data
    QString error;
    if (!Schema::createDeliveredFile(path, &error)) {
        std::fprintf(stderr, "zelko-mkdb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
