// Reading Microsoft cabinets: counting, listing and extracting their members.
// A theme file is such a cabinet; the loader extracts it with Extract.
#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <utility>

namespace varno {

// One member that Extract selected but did not write. `Number` is a Win32
// error code with the description a walker failure would carry.
struct CabExtractFailure {
    QString fileName;  // name in the cabinet
    int number = 0;
    QString description;
};

// Every walking member throws RuntimeError (source "CabFile") when the
// path is empty or the cabinet cannot be walked at all; the number
// is a Win32 error code. Members of a cabinet set other than the first are
// never asked for: members stored wholly in the given file are read, those
// continued from or into another part fail as invalid data.
class CabinetReader {
public:
    // Extraction refuses a cabinet whose members would expand to more than
    // this (error 14), before anything is written. Theme files hold a few
    // hundred KiB; the limit only stops a hostile cabinet filling the disk.
    static constexpr std::uint64_t MaxExpansion = 64 * 1024 * 1024;

    explicit CabinetReader(QString cabinetPath) : m_path(std::move(cabinetPath)) {}

    const QString &path() const { return m_path; }

    // Adds the number of members to a running count (never reset) and
    // returns it.
    int fileCount();

    // Extracts the members named `member` (empty: all; letter case is
    // ignored) into `outputFolder` (empty: the cabinet's folder) under
    // `outputName` (empty: the member's own name, its backslashes made into
    // sub-folders, which are created). Each file is written whole or not at
    // all. A member that fails does not stop the walk; the result is false
    // when any selected member was not written (BeforeExtract's cancel is not
    // a failure), and extractFailures() says which and why. Members whose
    // names are absolute, carry a drive letter or climb with ".." fail with
    // error 123 and are never written anywhere.
    //
    // Each folder is decoded once, whatever its members share, and the
    // bytes decoded (a retry after a damaged folder included) are counted
    // against MaxExpansion: members past it fail with error 14.
    bool extract(const QString &member = QString(), const QString &outputFolder = QString(),
                 const QString &outputName = QString());
    // The same for the members `wanted` accepts (by their name in the cabinet).
    bool extractIf(const std::function<bool(const QString &name)> &wanted,
                   const QString &outputFolder);

    // The members `wanted` accepts, decoded into memory: nothing reaches the
    // disk. Members that fail are left out and named in extractFailures().
    QMap<QString, QByteArray> read(const std::function<bool(const QString &name)> &wanted);

    // Raises FileFound for each member whose whole name matches (empty: all).
    void findMembers(const QString &member = QString());

    // The members whose file part matches (empty: all) as an XML text, values
    // written unescaped. DATE is QLocale::system()'s short date-time form
    // (empty for a member with an impossible stamp). Each call starts afresh.
    QString membersXml(const QString &member = QString());

    // Bytes the last extraction decoded, a folder decoded twice counting twice.
    std::uint64_t decodedBytes() const { return m_decodedBytes; }

    // Failures of the last Extract, in cabinet order.
    const QList<CabExtractFailure> &extractFailures() const { return m_failures; }

    // Events. `DateTime` is the member's stored stamp as local time, unshifted;
    // it is invalid when the stamp is not a real date and time. `Path` is the
    // folder part of the name, up to and including its last backslash.
    std::function<void(const QString &fileName, const QDateTime &dateTime, std::int64_t size,
                       const QString &path)>
        fileFound;
    // `FileName` is the name in the cabinet; setting `Cancel` skips it.
    std::function<void(const QString &fileName, bool &cancel)> beforeExtract;
    // `FileName` is the path written.
    std::function<void(const QString &fileName)> afterExtract;

private:
    friend struct CallBack;
    struct MemberNotice;
    enum class Answer { Skip, Extract };

    void walk(int mode);
    // A walk selecting the members `wanted` accepts, the selection dropped after.
    void walkSelected(int mode, const std::function<bool(const QString &)> &wanted);
    bool wanted(const QString &name) const;
    Answer fileInCabinet(int mode, const MemberNotice &member, QString &target);
    int fileExtracted(const MemberNotice &member, const QString &target, int error);
    void addFailure(const QString &name, int number);

    QString m_path;
    int m_fileCount = 0;
    std::uint64_t m_decodedBytes = 0;
    QString m_wantedFile;
    std::function<bool(const QString &)> m_wantedIf;
    QString m_outputPath;
    QString m_outputFile;
    QSet<QString> m_targets;  // written by this extraction
    QMap<QString, QByteArray> m_read;
    QString m_xml;
    QList<CabExtractFailure> m_failures;
};

// A cabinet member name split at its last backslash: the folder part keeps
// the backslash ("" when there is none), the file part is the rest.
struct CabNameParts {
    QString folder;
    QString file;
};
CabNameParts splitCabName(const QString &name);

// Makes every missing folder of `path` (one trailing separator ignored).
// True when the folder exists afterwards; false for an empty path or when
// something that is not a folder is in the way.
bool createPath(const QString &path);

}  // namespace varno
