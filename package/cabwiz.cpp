#include "package/cabwiz.h"

#include "package/cabwriter.h"
#include "package/cesetup.h"
#include "package/infscript.h"
#include "package/infwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <optional>

namespace varno {

namespace {

// Scripts and member files larger than this are not theme material.
constexpr qint64 MaxScriptBytes = 1 << 20;
constexpr qint64 MaxMemberBytes = 64 << 20;
// Nor is a script whose [Strings] names expand to more text than this, all
// lines together: a few lines naming a long string many times would
// otherwise ask for gigabytes before any length could be checked.
constexpr qint64 MaxExpandedChars = 16 << 20;

QString lineRef(int line)
{
    return QStringLiteral("line %1: ").arg(line);
}

std::optional<uint32_t> parseNumber(const QString &text)
{
    bool ok = false;
    const QString t = text.trimmed();
    const qulonglong v = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                             ? t.mid(2).toULongLong(&ok, 16)
                             : t.toULongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<uint32_t>(v);
}

// "3.0" -> {3, 0}.
std::optional<std::pair<uint32_t, uint32_t>> parseVersion(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.isEmpty() || parts.size() > 2)
        return std::nullopt;
    const auto major = parseNumber(parts[0]);
    const auto minor = parts.size() > 1 ? parseNumber(parts[1]) : std::optional<uint32_t>(0);
    if (!major || !minor)
        return std::nullopt;
    return std::make_pair(*major, *minor);
}

QStringList listOf(const InfLine *line)
{
    QStringList out;
    if (line)
        for (const QString &f : line->fields)
            if (!f.trimmed().isEmpty())
                out << f.trimmed();
    return out;
}

class Compiler {
public:
    Compiler(const CabWizOptions &o) : m_o(o), m_folder(QFileInfo(o.script).absolutePath()) {}

    std::optional<std::vector<CabMember>> run();
    QStringList problems;

private:
    std::optional<std::vector<CabMember>> compile();
    // Thrown once the script's text expands past MaxExpandedChars.
    struct ExpansionSpent {};

    void problem(int line, const QString &text) { problems << lineRef(line) + text; }
    QString expand(const QString &text, int line)
    {
        const QString out = m_inf.substitute(text, MaxExpandedChars - m_expanded);
        m_expanded += out.size();
        if (m_expanded > MaxExpandedChars) {
            problem(line, QStringLiteral("the [Strings] names used expand to more than %1 MiB "
                                         "of text")
                              .arg(MaxExpandedChars >> 20));
            throw ExpansionSpent{};
        }
        return out;
    }
    QString value(const InfSection *s, const QString &key, int *line = nullptr)
    {
        const InfLine *l = m_inf.find(s, key);
        if (line)
            *line = l ? l->number : 0;
        return l ? expand(l->fields.join(QLatin1Char(',')), l->number) : QString();
    }
    void readDevice();
    void readFiles(const QStringList &sections);
    void readRegistry(const QStringList &sections);
    std::optional<QString> diskFolder(const QString &diskId, int line);

    const CabWizOptions &m_o;
    QString m_folder;
    InfScript m_inf;
    CeSetup m_setup;
    std::vector<CabMember> m_members;  // without the setup file
    qint64 m_expanded = 0;             // characters substitution has made so far
};

void Compiler::readDevice()
{
    // The plain section first, the processor's own section overriding it.
    for (const InfSection *s :
         {m_inf.section(QStringLiteral("CEDevice")),
          m_o.cpu.isEmpty() ? nullptr : m_inf.section(QStringLiteral("CEDevice.") + m_o.cpu)}) {
        if (!s)
            continue;
        for (const InfLine &l : s->lines) {
            const QString v = expand(l.fields.join(QLatin1Char(',')), l.number);
            if (l.key.compare(QLatin1String("ProcessorType"), Qt::CaseInsensitive) == 0) {
                const auto n = parseNumber(v);
                n ? void(m_setup.processor = *n)
                  : problem(l.number, "ProcessorType is not a number");
            } else if (l.key.compare(QLatin1String("UnsupportedPlatforms"), Qt::CaseInsensitive) ==
                       0) {
                m_setup.unsupported.clear();
                m_setup.unsupportedLine = l.number;
                for (const QString &p : listOf(&l))
                    m_setup.unsupported << toAnsi(expand(p, l.number));
            } else if (l.key.startsWith(QLatin1String("VersionM"), Qt::CaseInsensitive)) {
                const auto ver = parseVersion(v);
                if (!ver)
                    problem(l.number, QStringLiteral("%1 is not a version").arg(l.key));
                else if (l.key.compare(QLatin1String("VersionMin"), Qt::CaseInsensitive) == 0)
                    std::tie(m_setup.versionMinMajor, m_setup.versionMinMinor) = *ver;
                else
                    std::tie(m_setup.versionMaxMajor, m_setup.versionMaxMinor) = *ver;
            } else if (l.key.startsWith(QLatin1String("BuildM"), Qt::CaseInsensitive)) {
                const auto n = parseNumber(v);
                if (!n)
                    problem(l.number, QStringLiteral("%1 is not a number").arg(l.key));
                else if (l.key.compare(QLatin1String("BuildMin"), Qt::CaseInsensitive) == 0)
                    m_setup.buildMin = *n;
                else
                    m_setup.buildMax = *n;
            }
        }
    }
}

std::optional<QString> Compiler::diskFolder(const QString &diskId, int line)
{
    const InfSection *disks = m_inf.sectionFor(QStringLiteral("SourceDisksNames"), m_o.cpu);
    const InfLine *d = m_inf.find(disks, diskId);
    if (!d) {
        problem(line, QStringLiteral("disk %1 is not listed in [SourceDisksNames]").arg(diskId));
        return std::nullopt;
    }
    QString rel = d->fields.size() > 3 ? expand(d->fields[3], d->number) : QString();
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    const QString clean = QDir::cleanPath(rel.isEmpty() ? QStringLiteral(".") : rel);
    // Sources stay inside the script's folder.
    if (clean.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(clean) ||
        clean.contains(QLatin1Char(':'))) {
        problem(d->number,
                QStringLiteral("disk %1 points outside the script's folder").arg(diskId));
        return std::nullopt;
    }
    return clean == QLatin1String(".") ? m_folder : m_folder + QLatin1Char('/') + clean;
}

void Compiler::readFiles(const QStringList &sections)
{
    const InfSection *sourceFiles = m_inf.sectionFor(QStringLiteral("SourceDisksFiles"), m_o.cpu);
    const InfSection *dest = m_inf.section(QStringLiteral("DestinationDirs"));
    for (const QString &name : sections) {
        const InfSection *s = m_inf.section(name);
        if (!s) {
            problems << QStringLiteral("[%1] named by CopyFiles does not exist").arg(name);
            continue;
        }
        int dirLine = 0;
        QString dir = value(dest, name, &dirLine);
        if (dir.isEmpty())
            dir = value(dest, QStringLiteral("DefaultDestDir"), &dirLine);
        // "0,%CE2%": the first field is the old directory code.
        const QStringList dirFields = splitInfFields(dir);
        const QString target = dirFields.size() > 1 ? dirFields[1] : QString();
        if (target.isEmpty()) {
            problem(s->number,
                    QStringLiteral("no destination for [%1] in [DestinationDirs]").arg(name));
            continue;
        }
        for (const InfLine &l : s->lines) {
            const QString installed = expand(l.fields.value(0), l.number);
            QString source = expand(l.fields.value(1), l.number);
            if (source.isEmpty())
                source = installed;
            const auto flags =
                parseNumber(l.fields.value(3, QStringLiteral("0")).isEmpty() ? QStringLiteral("0")
                                                                             : l.fields.value(3));
            if (installed.isEmpty() || !flags) {
                problem(l.number, QStringLiteral("a file entry needs a name and numeric flags"));
                continue;
            }
            const InfLine *src = m_inf.find(sourceFiles, source);
            if (!src) {
                problem(l.number,
                        QStringLiteral("%1 is not listed in [SourceDisksFiles]").arg(source));
                continue;
            }
            const auto folder = diskFolder(src->fields.value(0), src->number);
            if (!folder)
                continue;
            if (source.contains(QLatin1Char('/')) || source.contains(QLatin1Char('\\')) ||
                source == QLatin1String("..")) {
                problem(l.number, QStringLiteral("%1 is not a plain file name").arg(source));
                continue;
            }
            QFile f(*folder + QLatin1Char('/') + source);
            if (!f.open(QIODevice::ReadOnly)) {
                problem(l.number, QStringLiteral("cannot read %1").arg(source));
                continue;
            }
            if (f.size() > MaxMemberBytes) {
                problem(l.number, QStringLiteral("%1 is too large").arg(source));
                continue;
            }
            const int number = static_cast<int>(m_members.size()) + 1;
            if (number > 998) {
                problem(l.number, QStringLiteral("too many files"));
                return;
            }
            m_members.push_back({cabMemberName(source, number), f.readAll()});
            m_setup.files.push_back({static_cast<uint16_t>(number), toAnsi(target), *flags,
                                     toAnsi(installed), l.number, dirLine});
        }
    }
}

void Compiler::readRegistry(const QStringList &sections)
{
    static const QStringList roots = {QStringLiteral("HKCR"), QStringLiteral("HKCU"),
                                      QStringLiteral("HKLM"), QStringLiteral("HKU")};
    for (const QString &name : sections) {
        const InfSection *s = m_inf.section(name);
        if (!s) {
            problems << QStringLiteral("[%1] named by AddReg does not exist").arg(name);
            continue;
        }
        for (const InfLine &l : s->lines) {
            QStringList f;
            for (const QString &field : l.fields)
                f << expand(field, l.number);
            const int root = static_cast<int>(roots.indexOf(f.value(0).toUpper())) + 1;
            const auto flags = parseNumber(f.value(3).isEmpty() ? QStringLiteral("0") : f[3]);
            if (root == 0 || f.size() < 4 || !flags) {
                problem(l.number, QStringLiteral("a registry entry needs a root key "
                                                 "(HKCR, HKCU, HKLM or HKU), a key and flags"));
                continue;
            }
            CeSetup::Value v;
            v.line = l.number;
            v.root = root;
            v.key = toAnsi(f[1]);
            v.name = toAnsi(f[2]);
            v.type = *flags;
            const QStringList data = f.mid(4);
            switch (*flags & ~0x00000002u) {  // "do not overwrite" rides along
            case 0x00000000: v.data = toAnsi(data.join(QLatin1Char(','))) + '\0'; break;
            case 0x00010000:
                for (const QString &d : data)
                    v.data += toAnsi(d) + '\0';
                v.data += '\0';
                break;
            case 0x00010001: {
                const auto n = parseNumber(data.value(0));
                if (!n) {
                    problem(l.number, QStringLiteral("a double word value needs a number"));
                    continue;
                }
                char b[4];
                qToLittleEndian<uint32_t>(*n, b);
                v.data = QByteArray(b, 4);
                break;
            }
            case 0x00000001: {
                bool ok = true;
                for (const QString &d : data) {
                    QString t = d.trimmed();
                    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
                        t = t.mid(2);
                    const uint byte = t.toUInt(&ok, 16);
                    if (!ok || byte > 255 || t.isEmpty()) {
                        ok = false;
                        break;
                    }
                    v.data += static_cast<char>(byte);
                }
                if (!ok) {
                    problem(l.number, QStringLiteral("binary data must be hexadecimal bytes"));
                    continue;
                }
                break;
            }
            default:
                problem(l.number, QStringLiteral("unknown registry flags %1").arg(f[3]));
                continue;
            }
            m_setup.values.push_back(v);
        }
    }
}

std::optional<std::vector<CabMember>> Compiler::run()
{
    try {
        return compile();
    } catch (const ExpansionSpent &) {
        return std::nullopt;
    }
}

std::optional<std::vector<CabMember>> Compiler::compile()
{
    QFile script(m_o.script);
    if (!script.open(QIODevice::ReadOnly)) {
        problems << QStringLiteral("cannot open the script %1").arg(m_o.script);
        return std::nullopt;
    }
    if (script.size() > MaxScriptBytes) {
        problems << QStringLiteral("the script %1 is too large").arg(m_o.script);
        return std::nullopt;
    }
    m_inf = InfScript::parse(script.readAll());
    problems << m_inf.problems();

    const InfSection *version = m_inf.section(QStringLiteral("Version"));
    if (!version) {
        problems << QStringLiteral("the script has no [Version] section");
        return std::nullopt;
    }
    if (value(version, QStringLiteral("CESignature"))
            .compare(QLatin1String("$Windows CE$"), Qt::CaseInsensitive) != 0)
        problem(version->number, QStringLiteral("CESignature must be \"$Windows CE$\""));
    m_setup.provider = toAnsi(value(version, QStringLiteral("Provider"), &m_setup.providerLine));
    if (m_setup.provider.isEmpty())
        problem(version->number, QStringLiteral("Provider is missing"));

    const InfSection *strings = m_inf.section(QStringLiteral("CEStrings"));
    m_setup.appName = toAnsi(value(strings, QStringLiteral("AppName"), &m_setup.appNameLine));
    if (m_setup.appName.isEmpty())
        problems << QStringLiteral("[CEStrings] needs an AppName");
    if (value(strings, QStringLiteral("InstallDir")).isEmpty())
        problems << QStringLiteral("[CEStrings] needs an InstallDir");

    readDevice();
    const InfSection *install = m_inf.sectionFor(QStringLiteral("DefaultInstall"), m_o.cpu);
    if (!install) {
        problems << QStringLiteral("the script has no [DefaultInstall] section");
        return std::nullopt;
    }
    for (const InfLine &l : install->lines)
        if (l.key.compare(QLatin1String("CEShortcuts"), Qt::CaseInsensitive) == 0 ||
            l.key.compare(QLatin1String("CESetupDLL"), Qt::CaseInsensitive) == 0)
            problem(l.number, QStringLiteral("%1 is not supported").arg(l.key));
    readFiles(listOf(m_inf.find(install, QStringLiteral("CopyFiles"))));
    readRegistry(listOf(m_inf.find(install, QStringLiteral("AddReg"))));
    if (!problems.isEmpty())
        return std::nullopt;

    std::vector<SetupOverflow> overflows;
    QByteArray setup = m_setup.build(&overflows);
    for (const SetupOverflow &o : overflows)
        o.line ? problem(o.line, o.text) : void(problems << o.text);
    if (!problems.isEmpty())
        return std::nullopt;

    // The setup file first, then the files in descending order.
    std::vector<CabMember> out;
    out.push_back({cabMemberName(QFileInfo(m_o.script).fileName(), 0), std::move(setup)});
    for (auto it = m_members.rbegin(); it != m_members.rend(); ++it)
        out.push_back(*it);
    return out;
}

}  // namespace

QString cabMemberName(const QString &fileName, int number)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = (dot > 0 ? fileName.left(dot) : fileName).left(8);
    return base.rightJustified(8, QLatin1Char('0')) + QLatin1Char('.') +
           QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

bool ddfWantsCompression(const QString &ddfPath)
{
    QFile f(ddfPath);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bool on = false;
    for (const QByteArray &raw : f.read(1 << 20).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith(';'))
            continue;
        QByteArray code = line.left(line.indexOf(';') >= 0 ? line.indexOf(';') : line.size());
        code = code.simplified().replace(" ", "").toLower();
        if (code.startsWith(".setcompress="))
            on = code.mid(13) == "on";
    }
    return on;
}

CabWizResult runCabWiz(const CabWizOptions &o)
{
    CabWizResult r;
    const QFileInfo info(o.script);
    QString base = info.fileName();
    if (base.contains(QLatin1Char('.')))
        base = base.left(base.lastIndexOf(QLatin1Char('.')));
    r.cabinet = info.absolutePath() + QLatin1Char('/') + base +
                (o.cpu.isEmpty() ? QString() : QLatin1Char('.') + o.cpu) + QStringLiteral(".CAB");
    // A cabinet left from an earlier run must not pass for this one.
    QFile::remove(r.cabinet);

    Compiler c(o);
    const auto members = c.run();
    r.problems = c.problems;
    if (members) {
        try {
            writeCabinet(r.cabinet, *members, o.compress);
            r.ok = true;
        } catch (const RuntimeError &e) {
            r.problems << e.description;
        }
    }
    if (!o.errorFile.isEmpty()) {
        QFile err(o.errorFile);
        if (err.open(QIODevice::WriteOnly))
            for (const QString &p : r.problems)
                err.write(QStringLiteral("%1: Error: %2\r\n").arg(info.fileName(), p).toUtf8());
    }
    return r;
}

}  // namespace varno
