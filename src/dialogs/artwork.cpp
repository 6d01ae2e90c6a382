#include "artwork.h"

#include <QIcon>
#include <QString>

static void registerResources() { Q_INIT_RESOURCE(maintenance); }

namespace Artwork {

void init()
{
    static bool done = false;
    if (!done) {
        registerResources();
        done = true;
    }
}

QIcon icon(const QString& name)
{
    init();
    return QIcon(QStringLiteral(":/maintenance/") + name + QStringLiteral(".svg"));
}

} // namespace Artwork
