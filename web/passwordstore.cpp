#include "web/passwordstore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QFile>

namespace varno {

namespace {

const QString Service = QStringLiteral("Varno");
const QString PasswordValue = QStringLiteral("GLNTPWD");
// Set once the user has been told the password is in the settings file.
const QString PasswordInFileToldValue = QStringLiteral("GlintoryPasswordInFileTold");

QString secretKey(const QString &login)
{
    return QStringLiteral("Glintory login ") + login;
}

// Jobs report asynchronously; the few milliseconds they take are waited
// for here.
void runJob(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}

}  // namespace

PasswordStore::PasswordStore(SettingsFile &file, QString key) : m_file(file), m_key(std::move(key))
{
}

PasswordStore::Outcome PasswordStore::outcomeOf(const QKeychain::Job &job)
{
    switch (job.error()) {
    case QKeychain::NoError: return Outcome::Done;
    case QKeychain::EntryNotFound: return Outcome::NotFound;
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
    case QKeychain::CouldNotDeleteEntry: m_refusal = job.errorString(); return Outcome::Refused;
    // No backend, or none reachable (no session bus): the file's turn.
    default: return Outcome::NoService;
    }
}

QString PasswordStore::read(const QString &login)
{
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(secretKey(login));
    runJob(job);
    const Outcome outcome = outcomeOf(job);
    m_secretService = outcome != Outcome::NoService;
    const QString inFile = m_file.readString(m_key, PasswordValue);
    if (outcome == Outcome::Done)
        return job.textData();
    if (outcome == Outcome::NotFound && !inFile.isEmpty()) {
        // A password an older version left in the file moves to the service.
        if (write(login, inFile).isEmpty())
            return inFile;
    }
    if (outcome == Outcome::NoService && !inFile.isEmpty())
        keepInFile(inFile);
    return outcome == Outcome::NoService || outcome == Outcome::NotFound ? inFile : QString();
}

QString PasswordStore::write(const QString &login, const QString &password)
{
    QKeychain::WritePasswordJob job(Service);
    job.setKey(secretKey(login));
    job.setTextData(password);
    runJob(job);
    switch (outcomeOf(job)) {
    case Outcome::Done:
    case Outcome::NotFound:
        m_secretService = true;
        m_file.removeValue(m_key, PasswordValue);
        return QString();
    case Outcome::Refused:
        m_secretService = true;
        return QStringLiteral("The password was not kept: %1").arg(m_refusal);
    case Outcome::NoService: break;
    }
    m_secretService = false;
    keepInFile(password);
    if (password.isEmpty() || m_file.readWord(m_key, PasswordInFileToldValue) != 0)
        return QString();
    m_file.writeWord(m_key, PasswordInFileToldValue, 1);
    return QStringLiteral("No secret service is running, so the password is kept in the "
                          "settings file %1, which only you can read.")
        .arg(m_file.filePath());
}

void PasswordStore::keepInFile(const QString &password)
{
    // Before the write, so the password is never in a file others can read
    // (the file is replaced keeping its permissions); after, for a file
    // made by the write, or left readable by all by an older version.
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    QFile::setPermissions(m_file.filePath(), ownerOnly);
    if (m_file.readString(m_key, PasswordValue) != password)
        m_file.writeString(m_key, PasswordValue, password);
    QFile::setPermissions(m_file.filePath(), ownerOnly);
}

}  // namespace varno
