// The theme site's requests as bytes: its two addresses (stored settings
// with defaults), the sign-up, category and submission addresses with
// their query values percent-encoded, the multipart body of an upload,
// and the cleaning of a failure reply.
#pragma once

#include "app/settingsfile.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <random>
#include <vector>

namespace varno {

struct SiteAddresses {
    QUrl signup;  // plain HTTP
    QUrl submit;  // HTTPS
};

// The addresses stored under `key`, each written back with its default
// when missing.
SiteAddresses readSiteAddresses(SettingsFile &file, const QString &key);

QUrl signupUrl(const SiteAddresses &site, const QString &handle, const QString &email);
QUrl categoriesUrl(const SiteAddresses &site, const QString &login, const QString &password);
QUrl submissionUrl(const SiteAddresses &site, const QString &login, const QString &password);

// 27 "-" and 16 hex digits, each round(random * 15), so 0 and f come half
// as often. Seeded for a known sequence.
class BoundaryMaker {
public:
    explicit BoundaryMaker(uint32_t seed = std::random_device()()) : m_random(seed) {}
    QByteArray next();

private:
    std::mt19937 m_random;
};

struct FormPart {
    QByteArray name;
    QByteArray content;   // the text, or the file's bytes
    QByteArray fileName;  // empty for a text part
};

QByteArray multipartBody(const QByteArray &boundary, const std::vector<FormPart> &parts);
QByteArray multipartContentType(const QByteArray &boundary);

// A failure reply with the site's font tags and paragraph marks blanked.
QString cleanReply(QString reply);

// The file name without its extension: everything from the last "." is
// dropped, then whatever follows the last folder separator is kept.
QString baseName(const QString &path);

// A text as the site reads it: Windows-1252, or UTF-8 for a text that
// does not fit.
QByteArray siteText(const QString &text);

}  // namespace varno
