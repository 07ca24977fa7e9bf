#include "app/apppaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace varno {

namespace {
QString cleanFolder(const QString &p)
{
    QString s = QDir::cleanPath(QDir(p).absolutePath());
    while (s.size() > 1 && s.endsWith(QLatin1Char('/')))
        s.chop(1);
    return s;
}
}  // namespace

AppPaths AppPaths::forEditor()
{
    AppPaths p;
    const QString home = qEnvironmentVariable("VARNO_HOME");
    if (!home.isEmpty()) {
        p.appFolder = cleanFolder(home);
        p.settingsFile = p.appFolder + QStringLiteral("/settings.reg");
    } else {
        p.appFolder =
            cleanFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        p.settingsFile =
            cleanFolder(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)) +
            QStringLiteral("/settings.reg");
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!documents.isEmpty())
            p.documentsFolder = cleanFolder(documents) + QStringLiteral("/Varno Themes");
    }
    p.tmpFolder = p.folder(QStringLiteral("tmp"));
    return p;
}

AppPaths AppPaths::forCommand(const QString &scratch)
{
    // A command writes nothing but its scratch folder and its output, so
    // it runs with a read-only or missing home, beside any other run.
    AppPaths p;
    p.appFolder = cleanFolder(scratch);
    p.settingsFile = p.appFolder + QStringLiteral("/settings.reg");
    p.tmpFolder = p.folder(QStringLiteral("tmp"));
    return p;
}

QString AppPaths::folder(const QString &name) const
{
    return appFolder + QLatin1Char('/') + name;
}

QString AppPaths::defaultFolder(const QString &name) const
{
    if (!documentsFolder.isEmpty()) {
        if (name == QLatin1String("tsk"))
            return documentsFolder + QLatin1Char('/');
        if (name == QLatin1String("images"))
            return documentsFolder + QStringLiteral("/Pictures/");
        if (name == QLatin1String("capture"))
            return documentsFolder + QStringLiteral("/Captures/");
    }
    return folder(name) + QLatin1Char('/');
}

namespace {

QString instanceStem(const QString &settingsFile)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo runtime(folder);
    if (folder.isEmpty() || !runtime.isDir() || !runtime.isWritable())
        folder = QDir::tempPath();
    const QByteArray key = QFileInfo(settingsFile).absoluteFilePath().toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(12));
    return folder + QStringLiteral("/varno-%1-%2").arg(::getuid()).arg(hash);
}

}  // namespace

QString AppPaths::lockFile() const
{
    return instanceStem(settingsFile) + QStringLiteral(".lock");
}

QString AppPaths::handOverSocket() const
{
    return instanceStem(settingsFile) + QStringLiteral(".socket");
}

const QStringList &workingFolderNames()
{
    static const QStringList names = {QStringLiteral("tmp"), QStringLiteral("pt"),
                                      QStringLiteral("tsk"), QStringLiteral("images"),
                                      QStringLiteral("capture")};
    return names;
}

QString folderPart(const QString &path)
{
    const int i = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return i < 0 ? QString() : path.left(i + 1);
}

}  // namespace varno
