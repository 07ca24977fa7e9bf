// Where the site password lives: the desktop's secret service when one
// runs; otherwise the settings file, which is then made readable by its
// owner alone. The settings file never holds it while a secret service
// does.
#pragma once

#include "app/settingsfile.h"

#include <QString>

namespace QKeychain {
class Job;
}

namespace varno {

class PasswordStore {
public:
    // `key` is the section of the stored settings ("GLNTPWD" lives there).
    PasswordStore(SettingsFile &file, QString key);

    // The password of `login`; "" when none is kept.
    QString read(const QString &login);
    // Keeps `password` for `login`. Returns a sentence for the user when
    // there is something to know: the first time it goes into the settings
    // file, or when the secret service refused it. "" otherwise.
    QString write(const QString &login, const QString &password);

    // True when the last read or write reached a secret service.
    bool usedSecretService() const { return m_secretService; }

private:
    enum class Outcome { Done, NotFound, NoService, Refused };
    Outcome readSecret(const QString &login, QString &password);
    Outcome writeSecret(const QString &login, const QString &password);
    Outcome outcomeOf(const QKeychain::Job &job);
    void keepInFile(const QString &password);

    SettingsFile &m_file;
    QString m_key;
    bool m_secretService = false;
    QString m_refusal;
};

}  // namespace varno
