#include "base/messages.h"

namespace varno {

QString stringResource(int id)
{
    switch (id) {
    case Str::AppName: return QStringLiteral("Varno");
    case Str::Maker: return QStringLiteral("Velmora");
    case Str::Notice: return QStringLiteral("Velmora - Notice");
    case Str::Error: return QStringLiteral("Velmora - Error");
    case Str::Information: return QStringLiteral("Velmora - Information");
    default: return QString();
    }
}

MessageText errorBox(const RuntimeError &e, const QString &module, const QString &kind,
                     const QString &procedure)
{
    return {e.description + QStringLiteral("\r\r(Error #") + QString::number(e.number) +
                QLatin1Char(')'),
            QStringLiteral("Error in ") + module + QStringLiteral(": ") + kind + QLatin1Char(' ') +
                procedure};
}

MessageText longErrorBox(const RuntimeError &e, const QString &procedure, bool namedPrefix)
{
    const QString prefix = namedPrefix
                               ? QStringLiteral("Error in ") + procedure + QStringLiteral(": ")
                               : QStringLiteral("Error: ");
    return {prefix + e.description + QStringLiteral(" (") + procedure + QLatin1Char(')'),
            stringResource(Str::Error)};
}

}  // namespace varno
