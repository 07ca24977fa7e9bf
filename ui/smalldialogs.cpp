#include "ui/smalldialogs.h"

#include "app/appsettings.h"
#include "base/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace varno {

void AboutBox::load()
{
    siteAddress = QStringLiteral("http://") + QString::fromLatin1(kDefaultName2);
    const QStringList parts = QStringLiteral(VARNO_VERSION).split(QLatin1Char('.'));
    versionText = QStringLiteral("Version: %1.%2.%3")
                      .arg(parts.value(0, QStringLiteral("0")).toInt())
                      .arg(parts.value(1, QStringLiteral("0")).toInt())
                      .arg(parts.value(2, QStringLiteral("0")).toInt());
}

QString manualFolder()
{
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/varno/manual");
    for (const QString &folder : {installed, QStringLiteral(VARNO_MANUAL_SOURCE)})
        if (QFileInfo(folder + QStringLiteral("/welcome.htm")).isFile())
            return QDir::cleanPath(folder);
    return QString();
}

void showHelpContents(Prompt &prompt, const QString &manual,
                      const std::function<void(const QString &, const QString &)> &showHtmlHelp)
{
    const QString topic = QStringLiteral("welcome.htm");
    if (manual.isEmpty() || !QFileInfo(manual + u'/' + topic).isFile()) {
        prompt.messageBox(QStringLiteral("Unable to display Help due to lack of a help file!"),
                          MsgIcon::Exclamation, stringResource(Str::AppName));
        return;
    }
    if (showHtmlHelp)
        showHtmlHelp(manual, topic);
}

}  // namespace varno
