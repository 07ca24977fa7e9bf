#include "ui/smalldialogs.h"

#include "app/appsettings.h"
#include "base/messages.h"

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

void showHelpContents(Prompt &prompt, const QString &appFolder,
                      const std::function<void(const QString &, const QString &)> &showHtmlHelp)
{
    const QString file = appFolder + QStringLiteral("/varno.chm");
    if (!QFileInfo(file).isFile()) {
        prompt.messageBox(QStringLiteral("Unable to display Help due to lack of a help file!"),
                          MsgIcon::Exclamation, stringResource(Str::AppName));
        return;
    }
    if (showHtmlHelp)
        showHtmlHelp(file, QStringLiteral("welcome.htm"));
}

}  // namespace varno
