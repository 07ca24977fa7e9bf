#include "package/todaymember.h"

#include "base/runtimeerror.h"
#include "package/cabinetreader.h"

namespace varno {

namespace {

const char *const TodayMembers[] = {"tdywater.001", "0stwater.001"};

bool isTodayMember(const QString &name)
{
    for (const char *member : TodayMembers)
        if (name.compare(QLatin1String(member), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

TodayMember readTodayMember(const QString &theme)
{
    TodayMember today;
    QMap<QString, QByteArray> members;
    try {
        CabinetReader cab(theme);
        members = cab.read(isTodayMember);
        if (members.isEmpty() && !cab.extractFailures().isEmpty()) {
            const CabExtractFailure &f = cab.extractFailures().first();
            today.problem = QStringLiteral("%1 cannot be read: %2").arg(f.fileName, f.description);
            return today;
        }
    } catch (const RuntimeError &e) {
        today.problem = e.description;
        return today;
    }
    for (const char *wanted : TodayMembers)
        for (auto it = members.cbegin(); it != members.cend() && today.data.isNull(); ++it)
            if (it.key().compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                today.data = it.value();
    if (today.data.isNull())
        today.problem = QStringLiteral("The theme has no Today picture (tdywater.001).");
    return today;
}

}  // namespace varno
