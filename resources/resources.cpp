#include "resources/resources.h"

#include "base/runtimeerror.h"

#include <QFile>

// The resource initialiser lives in this static library; referencing it here
// keeps the linker from dropping the embedded data.
static void initVarnoResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace varno {

namespace {
QString resourcePath(const QString &name)
{
    return QStringLiteral(":/custom/") + name;
}
}  // namespace

bool hasCustomResource(const QString &name)
{
    initVarnoResources();
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QByteArray customResource(const QString &name)
{
    initVarnoResources();
    QFile f(resourcePath(name));
    if (name.isEmpty() || !f.open(QIODevice::ReadOnly))
        throw RuntimeError(326, QStringLiteral("Varno"),
                           QStringLiteral("Resource with identifier '") + name +
                               QStringLiteral("' not found"));
    return f.readAll();
}

}  // namespace varno
