// The cabinet reader: libmspack walks the cabinet and calls back into the one
// CabinetReader being walked, which decides per member what to do with it.
#include "package/cabinetreader.h"

#include "base/remakeablefile.h"
#include "base/runtimeerror.h"
#include "package/folderdecode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>

#include <mspack.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>
#include <new>

namespace varno {

namespace {

Q_LOGGING_CATEGORY(lcCab, "varno.package", QtWarningMsg)

// The walk modes, as the walker hands them back with each member.
enum Mode { ModeCount = 0, ModeReport = 1, ModeExtract = 2, ModeXml = 3, ModeRead = 4 };

// The Win32 codes this reader raises or reports per member.
namespace Win32 {
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int CannotOpen = 4;
constexpr int AccessDenied = 5;
constexpr int NotEnoughMemory = 8;
constexpr int InvalidData = 13;
constexpr int OutOfMemory = 14;
constexpr int WriteProtect = 19;
constexpr int Crc = 23;
constexpr int Seek = 25;
constexpr int WriteFault = 29;
constexpr int ReadFault = 30;
constexpr int FileExists = 80;
constexpr int CannotMake = 82;
constexpr int InvalidParameter = 87;
constexpr int NameTooLong = 111;
constexpr int DiskFull = 112;
constexpr int InvalidName = 123;
}  // namespace Win32

const QString kSource = QStringLiteral("CabFile");

QString win32Description(int code)
{
    switch (code) {
    case 2: return QStringLiteral("The system cannot find the file specified.");
    case 3: return QStringLiteral("The system cannot find the path specified.");
    case 4: return QStringLiteral("The system cannot open the file.");
    case 5: return QStringLiteral("Access is denied.");
    case 8: return QStringLiteral("Not enough storage is available to process this command.");
    case 13: return QStringLiteral("Invalid data.");
    case 14: return QStringLiteral("Not enough storage is available to complete this operation.");
    case 15: return QStringLiteral("The system cannot find the drive specified.");
    case 19: return QStringLiteral("The media is write protected.");
    case 20: return QStringLiteral("The system cannot find the device specified.");
    case 21: return QStringLiteral("The device is not ready.");
    case 23: return QStringLiteral("Data error (cyclic redundancy check).");
    case 25: return QStringLiteral("The drive cannot locate a specific area or track on the disk.");
    case 26: return QStringLiteral("The specified disk or diskette cannot be accessed.");
    case 27: return QStringLiteral("The drive cannot find the sector requested.");
    case 29: return QStringLiteral("The system cannot write to the specified device.");
    case 30: return QStringLiteral("The system cannot read from the specified device.");
    case 31: return QStringLiteral("A device attached to the system is not functioning.");
    case 32:
        return QStringLiteral(
            "The process cannot access the file because it is being used by another process.");
    case 33:
        return QStringLiteral("The process cannot access the file because another process has "
                              "locked a portion of the file.");
    case 39: return QStringLiteral("The disk is full.");
    case 80: return QStringLiteral("The file exists.");
    case 82: return QStringLiteral("The directory or file cannot be created.");
    case 111: return QStringLiteral("The file name is too long.");
    case 112: return QStringLiteral("There is not enough space on the disk.");
    case 123:
        return QStringLiteral("The filename, directory name, or volume label syntax is incorrect.");
    default: return QStringLiteral("Unknown error.");
    }
}

RuntimeError cabError(int code)
{
    return RuntimeError(code, kSource, win32Description(code));
}

int win32FromErrno(int error, int fallback)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return Win32::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return Win32::AccessDenied;
    case EROFS: return Win32::WriteProtect;
    case ENOSPC:
    case EDQUOT: return Win32::DiskFull;
    case ENAMETOOLONG: return Win32::NameTooLong;
    case ENOMEM: return Win32::NotEnoughMemory;
    case EIO: return fallback == Win32::WriteFault ? Win32::WriteFault : Win32::ReadFault;
    default: return fallback;
    }
}

// libmspack's file and memory access. The cabinet is read with stdio; a
// member is written into memory and only reaches the disk whole (see
// writeWhole), so a member that fails half-way leaves no file behind.
struct CabIo {
    mspack_system sys;           // first: libmspack hands this pointer back
    QByteArray *sink = nullptr;  // the member being extracted
    qint64 sinkLimit = 0;        // its declared length; libmspack never writes more
    int openErrno = 0;           // why the cabinet did not open
    bool readFault = false;      // a read failed, as opposed to ending early
};

struct CabIoFile {
    CabIo *io = nullptr;
    std::FILE *fp = nullptr;
    QByteArray *sink = nullptr;
};

CabIoFile *ioFile(mspack_file *f)
{
    return reinterpret_cast<CabIoFile *>(f);
}

mspack_file *ioOpen(mspack_system *self, const char *filename, int mode)
{
    CabIo *io = reinterpret_cast<CabIo *>(self);
    auto *f = new (std::nothrow) CabIoFile;
    if (!f)
        return nullptr;
    f->io = io;
    if (mode == MSPACK_SYS_OPEN_READ) {
        // Opened without blocking and checked to be a regular file: a FIFO
        // or a device named as a cabinet would otherwise hang the walk.
        errno = 0;
        const int fd = ::open(filename, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(fd);
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        } else if (fd >= 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            f->fp = ::fdopen(fd, "rb");
            if (!f->fp)
                ::close(fd);
        }
        if (!f->fp) {
            io->openErrno = errno;
            delete f;
            return nullptr;
        }
    } else if (mode == MSPACK_SYS_OPEN_WRITE && io->sink) {
        f->sink = io->sink;
        f->sink->clear();
    } else {
        delete f;
        return nullptr;
    }
    return reinterpret_cast<mspack_file *>(f);
}

void ioClose(mspack_file *file)
{
    CabIoFile *f = ioFile(file);
    if (!f)
        return;
    if (f->fp)
        std::fclose(f->fp);
    delete f;
}

int ioRead(mspack_file *file, void *buffer, int bytes)
{
    // libmspack can hand back a null file for a folder that claims to
    // continue into a cabinet that is not there.
    CabIoFile *f = ioFile(file);
    if (!f || !f->fp || bytes < 0)
        return -1;
    const size_t n = std::fread(buffer, 1, static_cast<size_t>(bytes), f->fp);
    if (n < static_cast<size_t>(bytes) && std::ferror(f->fp)) {
        f->io->readFault = true;
        return -1;
    }
    return static_cast<int>(n);
}

int ioWrite(mspack_file *file, void *buffer, int bytes)
{
    CabIoFile *f = ioFile(file);
    if (!f || !f->sink || bytes < 0 || f->sink->size() + bytes > f->io->sinkLimit)
        return -1;
    try {
        f->sink->append(static_cast<const char *>(buffer), bytes);
    } catch (...) {
        return -1;
    }
    return bytes;
}

int ioSeek(mspack_file *file, off_t offset, int mode)
{
    CabIoFile *f = ioFile(file);
    if (!f || !f->fp)
        return -1;
    const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET
                       : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR
                       : mode == MSPACK_SYS_SEEK_END ? SEEK_END
                                                     : -1;
    return whence < 0 ? -1 : fseeko(f->fp, offset, whence);
}

off_t ioTell(mspack_file *file)
{
    CabIoFile *f = ioFile(file);
    return f && f->fp ? ftello(f->fp) : -1;
}

void ioMessage(mspack_file *, const char *format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcCab) << "libmspack:" << text;
}

void *ioAlloc(mspack_system *, size_t bytes)
{
    return std::malloc(bytes);
}

void ioFree(void *p)
{
    std::free(p);
}

void ioCopy(void *src, void *dest, size_t bytes)
{
    std::memcpy(dest, src, bytes);
}

// A libmspack failure as a Win32 code. A read that came up short is a
// cabinet cut off or lying about its layout, not a failing device.
int win32FromMspack(int error, const CabIo &io)
{
    switch (error) {
    case MSPACK_ERR_OK: return 0;
    case MSPACK_ERR_OPEN: return Win32::CannotOpen;
    case MSPACK_ERR_READ: return io.readFault ? Win32::ReadFault : Win32::InvalidData;
    case MSPACK_ERR_WRITE: return Win32::WriteFault;
    case MSPACK_ERR_SEEK: return Win32::Seek;
    case MSPACK_ERR_NOMEMORY: return Win32::NotEnoughMemory;
    case MSPACK_ERR_CHECKSUM: return Win32::Crc;
    case MSPACK_ERR_SIGNATURE:
    case MSPACK_ERR_DATAFORMAT:
    case MSPACK_ERR_DECRUNCH: return Win32::InvalidData;
    default: return Win32::InvalidParameter;
    }
}

// Why the cabinet itself would not open, told apart as the system would:
// a missing file in an existing folder, or a missing folder.
int openFailure(const QString &cabinet, const CabIo &io)
{
    if (io.openErrno == ENOENT)
        return QFileInfo(cabinet).absoluteDir().exists() ? Win32::FileNotFound
                                                         : Win32::PathNotFound;
    return win32FromErrno(io.openErrno, Win32::CannotOpen);
}

class Decompressor {
public:
    explicit Decompressor(CabIo &io) : d(mspack_create_cab_decompressor(&io.sys)) {}
    ~Decompressor()
    {
        if (cab)
            d->close(d, cab);
        if (d)
            mspack_destroy_cab_decompressor(d);
    }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    mscab_decompressor *d;
    mscabd_cabinet *cab = nullptr;
};

// How far every folder must be decoded to reach its last member: what an
// extraction costs in time and, at most, in disk.
std::uint64_t declaredExpansion(const mscabd_cabinet *cab)
{
    std::map<const mscabd_folder *, std::uint64_t> ends;
    for (const mscabd_file *f = cab->files; f; f = f->next) {
        std::uint64_t &end = ends[f->folder];
        end = std::max<std::uint64_t>(end, std::uint64_t(f->offset) + f->length);
    }
    std::uint64_t total = 0;
    for (const auto &[folder, end] : ends)
        total += end;
    return total;
}

// DOS stamps are wall-clock times without a zone; taken as local time as
// they are. libmspack has already split the fields, and a month 0 or a
// 62nd second simply gives an invalid value.
QDateTime dosStamp(const mscabd_file *f)
{
    const QDate date(f->date_y, f->date_m, f->date_d);
    const QTime time(f->time_h, f->time_m, f->time_s);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

// The process's file-creation mask, read without changing it (umask() would
// have to set it to find it, racing any thread that creates a file).
// Writes all or nothing, with the mode a new file would get and the
// member's stored time. Extracted files are scratch copies of what the
// cabinet keeps, so they are not synced to disk.
int writeWhole(const QString &target, const QByteArray &data, const QDateTime &stamp)
{
    const FileWrite written = writeRemakeableFile(
        target, data, -1, stamp.isValid() ? std::optional(stamp.toSecsSinceEpoch()) : std::nullopt);
    switch (written.failedAt) {
    case FileWrite::Step::Done: return 0;
    case FileWrite::Step::Write: return win32FromErrno(written.error, Win32::WriteFault);
    default: return win32FromErrno(written.error, Win32::CannotMake);
    }
}

bool isDriveLetter(const QString &name)
{
    return name.size() >= 2 && name.at(1) == u':' && name.at(0).isLetter() &&
           name.at(0).unicode() < 128;
}

// A name to create under the output folder: relative, no drive, no "..",
// and naming a file rather than the folder itself.
bool isSafeRelativeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\') || isDriveLetter(name))
        return false;
    QString unified = name;
    unified.replace(u'\\', u'/');
    const QStringList parts = unified.split(u'/');
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return !parts.last().isEmpty() && parts.last() != QLatin1String(".");
}

// The last word on safety, whatever built the path: the cleaned absolute
// target lies strictly below the cleaned absolute folder.
bool staysInside(const QString &folder, const QString &target)
{
    QString base = QDir::cleanPath(QDir(folder).absolutePath());
    if (!base.endsWith(u'/'))
        base += u'/';
    const QString t = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    return t.size() > base.size() && t.startsWith(base);
}

bool matches(const QString &wanted, const QString &name)
{
    return wanted.isEmpty() || QString::compare(wanted, name, Qt::CaseInsensitive) == 0;
}

}  // namespace

struct CabinetReader::MemberNotice {
    QString name;  // name in the cabinet
    std::int64_t size = 0;
    QDateTime stamp;
};

// The walker and the one object it calls back into.
struct CallBack {
    // The cabinet object being walked; one walk at a time per thread.
    static thread_local CabinetReader *current;

    // Registers an object for the length of its walk; a walk started from an
    // event handler gives the slot back when it ends.
    class Registration {
    public:
        explicit Registration(CabinetReader *object) : m_previous(current) { current = object; }
        ~Registration() { current = m_previous; }
        Registration(const Registration &) = delete;
        Registration &operator=(const Registration &) = delete;

    private:
        CabinetReader *m_previous;
    };

    static CabinetReader::Answer fileInCabinet(int mode, const CabinetReader::MemberNotice &member,
                                               QString &target)
    {
        return current ? current->fileInCabinet(mode, member, target) : CabinetReader::Answer::Skip;
    }

    static int fileExtracted(const CabinetReader::MemberNotice &member, const QString &target,
                             int error)
    {
        return current ? current->fileExtracted(member, target, error) : 0;
    }

    struct Selected;
    static void walk(const QString &cabinet, int mode);
    static int decodeRange(Decompressor &dec, CabIo &io, mscabd_file *file, QByteArray &out);
    static std::vector<int> decodeFolder(Decompressor &dec, CabIo &io, FolderToDecode &quick,
                                         const std::vector<Selected *> &members,
                                         std::vector<QByteArray> &data, std::uint64_t &budget);
};

thread_local CabinetReader *CallBack::current = nullptr;

struct CallBack::Selected {
    mscabd_file *file;
    CabinetReader::MemberNotice member;
    QString target;
    int error = 0;
};

// Opens the cabinet, calls back once per member and extracts the members
// the object asks for. Any member failure is reported back per member; only
// a cabinet that cannot be walked at all throws.
void CallBack::walk(const QString &cabinet, int mode)
{
    CabIo io;
    io.sys = {ioOpen,    ioClose, ioRead, ioWrite, ioSeek, ioTell,
              ioMessage, ioAlloc, ioFree, ioCopy,  nullptr};
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest != MSPACK_ERR_OK)
        throw cabError(Win32::InvalidParameter);
    Decompressor dec(io);
    if (!dec.d)
        throw cabError(Win32::NotEnoughMemory);

    const QByteArray encoded = QFile::encodeName(cabinet);
    dec.cab = dec.d->open(dec.d, encoded.constData());
    const mscabd_cabinet *cab = dec.cab;
    const int error = cab ? MSPACK_ERR_OK : dec.d->last_error(dec.d);
    // A cabinet carried further into a file, as in a self-extracting
    // installer, is read from the first one found. One that starts at the
    // beginning but will not open stays refused for the reason open gave.
    if (!cab && error != MSPACK_ERR_OPEN && error != MSPACK_ERR_NOMEMORY) {
        dec.cab = dec.d->search(dec.d, encoded.constData());
        for (cab = dec.cab; cab && cab->base_offset == 0;)
            cab = cab->next;
    }
    if (!cab) {
        qCDebug(lcCab) << "cannot open" << cabinet << "libmspack error" << error;
        throw cabError(error == MSPACK_ERR_OPEN ? openFailure(cabinet, io)
                                                : win32FromMspack(error, io));
    }
    // Only extraction writes; listing reports what the cabinet declares.
    if (const std::uint64_t size = declaredExpansion(cab);
        (mode == ModeExtract || mode == ModeRead) && size > CabinetReader::MaxExpansion) {
        const auto mib = [](std::uint64_t bytes) { return (bytes + (1 << 20) - 1) >> 20; };
        throw RuntimeError(Win32::OutOfMemory, QStringLiteral("CabFile"),
                           QStringLiteral("The members would expand to %1 MiB, beyond the "
                                          "%2 MiB that Varno extracts from one cabinet.")
                               .arg(mib(size))
                               .arg(mib(CabinetReader::MaxExpansion)));
    }

    std::vector<Selected> selected;
    for (mscabd_file *f = cab->files; f; f = f->next) {
        CabinetReader::MemberNotice member;
        member.name = (f->attribs & MSCAB_ATTRIB_UTF_NAME) ? QString::fromUtf8(f->filename)
                                                           : QString::fromLatin1(f->filename);
        member.size = f->length;
        member.stamp = dosStamp(f);
        QString target;
        if (fileInCabinet(mode, member, target) == CabinetReader::Answer::Extract)
            selected.push_back({f, member, target});
    }
    if (current)
        current->m_decodedBytes = 0;
    if (selected.empty())
        return;

    // Members are decoded folder by folder, each folder once from its start,
    // however the members overlap; results are reported in cabinet order.
    std::map<const mscabd_folder *, std::vector<Selected *>> byFolder;
    for (Selected &s : selected)
        byFolder[s.file->folder].push_back(&s);
    std::uint64_t budget = CabinetReader::MaxExpansion;
    FolderToDecode quick;
    QFile cabinetFile(cabinet);
    if (!cab->prevcab && !cab->nextcab && cabinetFile.open(QIODevice::ReadOnly)) {
        quick.cabinet = &cabinetFile;
        quick.base = cab->base_offset;
    }
    for (auto &[folder, members] : byFolder) {
        quick.folderIndex = 0;
        for (const mscabd_folder *f = cab->folders; f && f != folder; f = f->next)
            ++quick.folderIndex;
        quick.compression = folder->comp_type & 0x0F;
        quick.blockCount = folder->num_blocks;
        std::vector<QByteArray> data(members.size());
        std::vector<int> errors = decodeFolder(dec, io, quick, members, data, budget);
        for (size_t i = 0; i < members.size(); ++i) {
            if (mode == ModeRead && !errors[i] && current)
                current->m_read.insert(members[i]->member.name, std::move(data[i]));
            else
                members[i]->error =
                    errors[i] ? errors[i]
                              : writeWhole(members[i]->target, data[i], members[i]->member.stamp);
        }
    }
    if (current)
        current->m_decodedBytes = CabinetReader::MaxExpansion - budget;
    for (const Selected &s : selected)
        fileExtracted(s.member, s.target, s.error);
}

// One decode of `file`'s folder from its start up to the end of `file`.
int CallBack::decodeRange(Decompressor &dec, CabIo &io, mscabd_file *file, QByteArray &out)
{
    out.clear();
    io.sink = &out;
    io.sinkLimit = file->length;
    out.reserve(qsizetype(file->length));  // the callers have checked it against the budget
    io.readFault = false;
    const int rc = dec.d->extract(dec.d, file, "member");
    io.sink = nullptr;
    if (rc != MSPACK_ERR_OK) {
        qCDebug(lcCab) << "cannot extract" << file->filename << "libmspack error" << rc;
        return win32FromMspack(rc, io);
    }
    return 0;
}

// The members of one folder: the folder is decoded once up to its furthest
// member and each member is cut from that. A folder that fails is retried
// member by member in offset order, so the intact members still come out;
// every byte decoded is paid from `budget`.
std::vector<int> CallBack::decodeFolder(Decompressor &dec, CabIo &io, FolderToDecode &quick,
                                        const std::vector<Selected *> &members,
                                        std::vector<QByteArray> &data, std::uint64_t &budget)
{
    std::vector<int> errors(members.size(), 0);
    std::uint64_t end = 0;
    for (const Selected *s : members)
        end = std::max<std::uint64_t>(end, std::uint64_t(s->file->offset) + s->file->length);
    if (end > budget) {
        std::fill(errors.begin(), errors.end(), Win32::OutOfMemory);
        return errors;
    }
    budget -= end;
    mscabd_file whole = *members.front()->file;
    whole.next = nullptr;
    whole.offset = 0;
    whole.length = static_cast<unsigned int>(end);
    quick.length = qint64(end);
    std::optional<QByteArray> quickData = decodeFolderStart(quick);
    QByteArray folderData = quickData ? std::move(*quickData) : QByteArray();
    if (quickData || (decodeRange(dec, io, &whole, folderData) == 0 &&
                      std::uint64_t(folderData.size()) == end)) {
        if (members.size() == 1) {
            // The one member ends the range: dropping what comes before it
            // moves a pointer, where a copy would fault in fresh pages.
            folderData.remove(0, qsizetype(members.front()->file->offset));
            data.front() = std::move(folderData);
            return errors;
        }
        for (size_t i = 0; i < members.size(); ++i)
            data[i] = folderData.mid(members[i]->file->offset, members[i]->file->length);
        return errors;
    }
    folderData.clear();

    std::vector<size_t> order(members.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return members[a]->file->offset < members[b]->file->offset;
    });
    // libmspack goes on from where the last member ended and starts the
    // folder afresh for a member that lies behind it.
    std::uint64_t position = 0;
    bool restart = true;
    for (const size_t i : order) {
        const mscabd_file *f = members[i]->file;
        const std::uint64_t from = restart || f->offset < position ? 0 : position;
        const std::uint64_t cost = std::uint64_t(f->offset) + f->length - from;
        if (cost > budget) {
            errors[i] = Win32::OutOfMemory;
            continue;
        }
        budget -= cost;
        errors[i] = decodeRange(dec, io, members[i]->file, data[i]);
        restart = errors[i] != 0;
        position = std::uint64_t(f->offset) + f->length;
    }
    return errors;
}

int CabinetReader::fileCount()
{
    walk(ModeCount);
    return m_fileCount;
}

bool CabinetReader::extract(const QString &member, const QString &outputFolder,
                            const QString &outputName)
{
    m_failures.clear();
    m_targets.clear();
    m_wantedFile = member;
    m_outputPath = outputFolder;
    m_outputFile = outputName;
    walk(ModeExtract);
    return m_failures.isEmpty();
}

bool CabinetReader::extractIf(const std::function<bool(const QString &)> &wanted,
                              const QString &outputFolder)
{
    m_outputPath = outputFolder;
    m_outputFile.clear();
    walkSelected(ModeExtract, wanted);
    return m_failures.isEmpty();
}

QMap<QString, QByteArray> CabinetReader::read(const std::function<bool(const QString &)> &wanted)
{
    walkSelected(ModeRead, wanted);
    return std::exchange(m_read, {});
}

void CabinetReader::walkSelected(int mode, const std::function<bool(const QString &)> &wanted)
{
    m_failures.clear();
    m_targets.clear();
    m_read.clear();
    m_wantedFile.clear();
    m_wantedIf = wanted;
    try {
        walk(mode);
    } catch (...) {
        m_wantedIf = nullptr;
        throw;
    }
    m_wantedIf = nullptr;
}

bool CabinetReader::wanted(const QString &name) const
{
    return m_wantedIf ? m_wantedIf(name) : matches(m_wantedFile, name);
}

void CabinetReader::findMembers(const QString &member)
{
    m_wantedFile = member;
    walk(ModeReport);
}

QString CabinetReader::membersXml(const QString &member)
{
    m_wantedFile = member;
    m_xml.clear();
    walk(ModeXml);
    return QStringLiteral("<?xml version=\"1.0\"?><CABFILE CABFILENAME = '") + m_path +
           QStringLiteral("'><FILES>") + m_xml + QStringLiteral("</FILES></CABFILE>");
}

void CabinetReader::walk(int mode)
{
    if (m_path.isEmpty())
        throw RuntimeError(static_cast<int>(0x800407A4u), kSource,
                           QStringLiteral("You must set the strCabFile_m property before taking "
                                          "any action on the CabFile object."));
    CallBack::Registration registration(this);
    CallBack::walk(m_path, mode);
}

CabinetReader::Answer CabinetReader::fileInCabinet(int mode, const MemberNotice &member,
                                                   QString &target)
{
    switch (mode) {
    case ModeCount: ++m_fileCount; return Answer::Skip;
    case ModeReport:
        if (matches(m_wantedFile, member.name) && fileFound) {
            const CabNameParts parts = splitCabName(member.name);
            fileFound(parts.file, member.stamp, member.size, parts.folder);
        }
        return Answer::Skip;
    case ModeXml: {
        const CabNameParts parts = splitCabName(member.name);
        if (matches(m_wantedFile, parts.file)) {
            m_xml += QStringLiteral("<FILE><FULLNAME>") + member.name +
                     QStringLiteral("</FULLNAME><NAME>") + parts.file +
                     QStringLiteral("</NAME><DATE>") +
                     QLocale::system().toString(member.stamp, QLocale::ShortFormat) +
                     QStringLiteral("</DATE><SIZE>") + QString::number(member.size) +
                     QStringLiteral("</SIZE><PATH>") + parts.folder +
                     QStringLiteral("</PATH></FILE>\r\n");
        }
        return Answer::Skip;
    }
    case ModeExtract: break;
    case ModeRead: return wanted(member.name) ? Answer::Extract : Answer::Skip;
    default: return Answer::Skip;
    }

    if (!wanted(member.name))
        return Answer::Skip;
    bool cancel = false;
    if (beforeExtract)
        beforeExtract(member.name, cancel);
    if (cancel)
        return Answer::Skip;

    const QString folder = m_outputPath.isEmpty() ? QFileInfo(m_path).absolutePath() : m_outputPath;
    QString relative = m_outputFile;
    if (relative.isEmpty()) {
        relative = member.name;
        relative.replace(u'\\', u'/');
    }
    target = folder + (folder.endsWith(u'/') ? QString() : QStringLiteral("/")) + relative;
    if (!isSafeRelativeName(relative) || !staysInside(folder, target)) {
        qCWarning(lcCab) << "refusing to write" << relative << "outside" << folder;
        addFailure(member.name, Win32::InvalidName);
        return Answer::Skip;
    }
    // Names that differ in the cabinet can meet on disk (undecodable bytes
    // all read as one replacement character, "a\\b" and ".\\a\\b", plain
    // duplicates); the first keeps the name.
    const QString onDisk = QDir::cleanPath(target);
    if (m_outputFile.isEmpty() && m_targets.contains(onDisk)) {
        addFailure(member.name, Win32::FileExists);
        return Answer::Skip;
    }
    m_targets.insert(onDisk);
    if (!createPath(QFileInfo(target).path())) {
        addFailure(member.name, Win32::CannotMake);
        return Answer::Skip;
    }
    return Answer::Extract;
}

int CabinetReader::fileExtracted(const MemberNotice &member, const QString &target, int error)
{
    if (error != 0)
        addFailure(member.name, error);
    else if (afterExtract)
        afterExtract(target);
    return error;
}

void CabinetReader::addFailure(const QString &name, int number)
{
    m_failures.append({name, number, win32Description(number)});
}

CabNameParts splitCabName(const QString &name)
{
    const qsizetype cut = name.lastIndexOf(u'\\') + 1;
    return {name.left(cut), name.mid(cut)};
}

bool createPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    QString folder = path;
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

}  // namespace varno
