#include "package/cesetup.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <map>

namespace varno {

namespace {

void put16(QByteArray &b, uint32_t v)
{
    char c[2];
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(v), c);
    b.append(c, 2);
}

void put32(QByteArray &b, uint32_t v)
{
    char c[4];
    qToLittleEndian<uint32_t>(v, c);
    b.append(c, 4);
}

void set16(QByteArray &b, int at, uint32_t v)
{
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(v), b.data() + at);
}

void set32(QByteArray &b, int at, uint32_t v)
{
    qToLittleEndian<uint32_t>(v, b.data() + at);
}

QByteArray zeroTerminated(const QByteArray &s)
{
    return s + '\0';
}

constexpr qint64 Max16 = 0xFFFF;
constexpr qint64 Max32 = 0xFFFFFFFF;
constexpr int HeaderBytes = 100;
// A spec is its string ids and a closing 0, two bytes each.
constexpr qint64 MaxSpecParts = Max16 / 2 - 1;

// Shared string, directory and hive tables, ids from 1 in order of first
// use, each with the script line that first used it. Looked up by hash: a
// script may name tens of thousands of keys. Ids are ints so that a table
// grown past what the file can number is seen, not wrapped.
struct Tables {
    struct Hive {
        int root;
        std::vector<int> spec;
        auto operator<=>(const Hive &) const = default;
    };
    std::vector<QByteArray> strings;
    std::vector<int> stringLines;
    QHash<QByteArray, int> stringIds;
    std::vector<std::vector<int>> dirs;
    std::vector<int> dirLines;
    std::map<std::vector<int>, int> dirIds;
    std::vector<Hive> hives;
    std::vector<int> hiveLines;
    std::map<Hive, int> hiveIds;

    int string(const QByteArray &s, int line)
    {
        if (const auto it = stringIds.constFind(s); it != stringIds.cend())
            return *it;
        strings.push_back(s);
        stringLines.push_back(line);
        stringIds.insert(s, int(strings.size()));
        return int(strings.size());
    }
    std::vector<int> path(const QByteArray &p, int line)
    {
        std::vector<int> ids;
        for (const QByteArray &part : p.split('\\'))
            if (!part.isEmpty())
                ids.push_back(string(part, line));
        return ids;
    }
    int dir(const QByteArray &p, int line)
    {
        auto [it, added] = dirIds.try_emplace(path(p, line), int(dirs.size()) + 1);
        if (added) {
            dirs.push_back(it->first);
            dirLines.push_back(line);
        }
        return it->second;
    }
    int hive(int root, const QByteArray &key, int line)
    {
        auto [it, added] = hiveIds.try_emplace(Hive{root, path(key, line)}, int(hives.size()) + 1);
        if (added) {
            hives.push_back(it->first);
            hiveLines.push_back(line);
        }
        return it->second;
    }
};

void putSpec(QByteArray &b, const std::vector<int> &ids)
{
    put16(b, static_cast<uint32_t>(ids.size() + 1) * 2);
    for (const int id : ids)
        put16(b, static_cast<uint32_t>(id));
    put16(b, 0);
}

// Everything the file would hold that does not fit its field, walked in the
// order the file is laid out, sizes added up without building anything: a
// script that overflows may describe gigabytes.
std::vector<SetupOverflow> overflowsOf(const CeSetup &s, const Tables &t)
{
    std::vector<SetupOverflow> out;
    const auto report = [&](int line, const QString &text) { out.push_back({line, text}); };
    const auto tooMany = [&](size_t count, const std::vector<int> &lines, const char *what) {
        if (qint64(count) > Max16)
            report(lines[Max16], QStringLiteral("too many %1: the setup file has room for %2")
                                     .arg(QLatin1String(what))
                                     .arg(Max16));
    };
    // `size` and `room` in characters for texts (the zero is counted
    // separately), in bytes otherwise.
    const auto tooLong = [&](qint64 size, qint64 room, int line, const QString &what,
                             const char *unit) {
        if (size > room)
            report(line, QStringLiteral("%1 is too long: %2 %4, the setup file has room for %3")
                             .arg(what)
                             .arg(size)
                             .arg(room)
                             .arg(QLatin1String(unit)));
        return size > room;
    };
    const auto tooDeep = [&](size_t parts, int line, const char *what) {
        if (qint64(parts) > MaxSpecParts)
            report(line, QStringLiteral("%1 has too many parts: %2, the setup file has room for %3")
                             .arg(QLatin1String(what))
                             .arg(parts)
                             .arg(MaxSpecParts));
    };
    // Where the file would end, and the first entry that takes it past 4 GiB.
    qint64 end = HeaderBytes;
    int pastLimit = -1;
    const auto grow = [&](qint64 bytes, int line) {
        end += bytes;
        if (end > Max32 && pastLimit < 0)
            pastLimit = line;
    };

    // APPNAME, PROVIDER and UNSUPPORTED are reached through 16-bit offsets,
    // so each must also leave the next one starting within 64 KiB.
    const qint64 appName = s.appName.size() + 1;
    const qint64 provider = s.provider.size() + 1;
    qint64 unsupported = 0;
    for (const QByteArray &p : s.unsupported)
        unsupported += p.size() + 1;
    if (unsupported)
        ++unsupported;
    if (!tooLong(appName - 1, Max16 - end - 1, s.appNameLine, QStringLiteral("AppName"),
                 "characters") &&
        !tooLong(provider - 1, Max16 - end - appName - 1, s.providerLine,
                 QStringLiteral("Provider"), "characters"))
        tooLong(unsupported, Max16, s.unsupportedLine, QStringLiteral("UnsupportedPlatforms"),
                "bytes");
    grow(appName + provider + unsupported, s.providerLine);

    tooMany(t.strings.size(), t.stringLines, "names in directories and registry keys");
    for (size_t i = 0; i < t.strings.size(); ++i) {
        tooLong(t.strings[i].size(), Max16 - 1, t.stringLines[i],
                QStringLiteral("a directory or key name"), "characters");
        grow(4 + t.strings[i].size() + 1, t.stringLines[i]);
    }
    tooMany(t.dirs.size(), t.dirLines, "directories");
    for (size_t i = 0; i < t.dirs.size(); ++i) {
        tooDeep(t.dirs[i].size(), t.dirLines[i], "the directory");
        grow(4 + qint64(t.dirs[i].size() + 1) * 2, t.dirLines[i]);
    }
    if (qint64(s.files.size()) > Max16)
        report(s.files[Max16].line, QStringLiteral("too many files"));
    for (const CeSetup::File &f : s.files) {
        tooLong(f.name.size(), Max16 - 1, f.line, QStringLiteral("the installed name"),
                "characters");
        grow(12 + f.name.size() + 1, f.line);
    }
    tooMany(t.hives.size(), t.hiveLines, "registry keys");
    for (size_t i = 0; i < t.hives.size(); ++i) {
        tooDeep(t.hives[i].spec.size(), t.hiveLines[i], "the registry key");
        grow(8 + qint64(t.hives[i].spec.size() + 1) * 2, t.hiveLines[i]);
    }
    if (qint64(s.values.size()) > Max16)
        report(s.values[Max16].line, QStringLiteral("too many registry values: the setup file "
                                                    "has room for %1")
                                         .arg(Max16));
    // The padding before REGKEYS is counted at its most.
    if (!s.values.empty())
        grow(RegistryAreaLead, s.values.front().line);
    for (const CeSetup::Value &v : s.values) {
        const qint64 data = v.name.size() + 1 + v.data.size();
        tooLong(data, Max16, v.line, QStringLiteral("the registry value's name and data"), "bytes");
        grow(12 + data, v.line);
    }
    if (out.empty() && pastLimit >= 0)
        report(pastLimit, QStringLiteral("the setup file grows past 4 GiB here"));
    // In the script's order, as the wizard's other problems are.
    std::stable_sort(out.begin(), out.end(), [](const SetupOverflow &a, const SetupOverflow &b) {
        return a.line < b.line;
    });
    return out;
}

}  // namespace

int findCeMarker(const QByteArray &bytes, int from)
{
    for (int p = std::max(0, from); p + 4 < bytes.size(); ++p)
        if (bytes[p] == '%' && bytes[p + 1] == 'C' && bytes[p + 2] == 'E' && bytes[p + 4] == '%')
            return p;
    return -1;
}

QByteArray CeSetup::build(std::vector<SetupOverflow> *overflows) const
{
    Tables t;
    // Ids are handed out directories first, then registry keys, so the
    // STRINGS section is complete before it is written.
    std::vector<int> fileDirs;
    for (const File &f : files)
        fileDirs.push_back(t.dir(f.directory, f.directoryLine));
    std::vector<int> valueHives;
    for (const Value &v : values)
        valueHives.push_back(t.hive(v.root, v.key, v.line));
    if (std::vector<SetupOverflow> found = overflowsOf(*this, t); !found.empty()) {
        if (!overflows)
            throw runtimeError(Err::Overflow, QStringLiteral("CeSetup"));
        *overflows = std::move(found);
        return {};
    }

    QByteArray b(HeaderBytes, '\0');
    const auto textAt = [&](const QByteArray &text, int offField, int lenField) {
        set16(b, offField, static_cast<uint32_t>(b.size()));
        set16(b, lenField, static_cast<uint32_t>(text.size()));
        b += text;
    };
    textAt(zeroTerminated(appName), 84, 86);
    textAt(zeroTerminated(provider), 88, 90);
    if (unsupported.isEmpty()) {
        set16(b, 92, static_cast<uint32_t>(b.size()));
        set16(b, 94, 0);
    } else {
        QByteArray u;
        for (const QByteArray &p : unsupported)
            u += zeroTerminated(p);
        textAt(u + '\0', 92, 94);
    }

    set32(b, 60, static_cast<uint32_t>(b.size()));
    for (size_t i = 0; i < t.strings.size(); ++i) {
        put16(b, static_cast<uint32_t>(i + 1));
        put16(b, static_cast<uint32_t>(t.strings[i].size() + 1));
        b += zeroTerminated(t.strings[i]);
    }
    set32(b, 64, static_cast<uint32_t>(b.size()));
    for (size_t i = 0; i < t.dirs.size(); ++i) {
        put16(b, static_cast<uint32_t>(i + 1));
        putSpec(b, t.dirs[i]);
    }
    set32(b, 68, static_cast<uint32_t>(b.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        put16(b, files[i].id);
        put16(b, static_cast<uint32_t>(fileDirs[i]));
        put16(b, files[i].id);
        put32(b, files[i].flags);
        put16(b, static_cast<uint32_t>(files[i].name.size() + 1));
        b += zeroTerminated(files[i].name);
    }
    set32(b, 72, static_cast<uint32_t>(b.size()));
    for (size_t i = 0; i < t.hives.size(); ++i) {
        put16(b, static_cast<uint32_t>(i + 1));
        put16(b, static_cast<uint32_t>(t.hives[i].root));
        put16(b, 0);
        putSpec(b, t.hives[i].spec);
    }
    // Theme readers skip a fixed distance past the first "%CE?%" before they
    // look for values; pad so no value name falls inside that gap.
    const int marker = findCeMarker(b);
    constexpr int nameOffsetInEntry = 12;
    if (marker >= 0 && !values.empty()) {
        const int need = marker + RegistryAreaLead - nameOffsetInEntry;
        if (b.size() < need)
            b.append(need - b.size(), '\0');
    }
    set32(b, 76, static_cast<uint32_t>(b.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        const Value &v = values[i];
        const QByteArray data = zeroTerminated(v.name) + v.data;
        put16(b, static_cast<uint32_t>(i + 1));
        put16(b, static_cast<uint32_t>(valueHives[i]));
        put16(b, 0);
        put32(b, v.type);
        put16(b, static_cast<uint32_t>(data.size()));
        b += data;
    }
    set32(b, 80, static_cast<uint32_t>(b.size()));

    memcpy(b.data(), "MSCE", 4);
    set32(b, 8, static_cast<uint32_t>(b.size()));
    set32(b, 16, 1);
    set32(b, 20, processor);
    set32(b, 24, versionMinMajor);
    set32(b, 28, versionMinMinor);
    set32(b, 32, versionMaxMajor);
    set32(b, 36, versionMaxMinor);
    set32(b, 40, buildMin);
    set32(b, 44, buildMax);
    set16(b, 48, static_cast<uint32_t>(t.strings.size()));
    set16(b, 50, static_cast<uint32_t>(t.dirs.size()));
    set16(b, 52, static_cast<uint32_t>(files.size()));
    set16(b, 54, static_cast<uint32_t>(t.hives.size()));
    set16(b, 56, static_cast<uint32_t>(values.size()));
    set16(b, 58, 0);
    return b;
}

namespace {

// Bounds-checked little-endian reads.
class Reader {
public:
    explicit Reader(const QByteArray &b) : m_b(b) {}
    bool ok(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at + n <= m_b.size(); }
    uint32_t u16(qint64 at) const
    {
        if (!ok(at, 2))
            throw bad();
        return byte(at) | byte(at + 1) << 8;
    }
    uint32_t u32(qint64 at) const
    {
        if (!ok(at, 4))
            throw bad();
        return byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | uint32_t(byte(at + 3)) << 24;
    }
    QByteArray bytes(qint64 at, qint64 n) const
    {
        if (!ok(at, n))
            throw bad();
        return m_b.mid(at, n);
    }
    // Text up to its zero within n bytes.
    QByteArray text(qint64 at, qint64 n) const
    {
        QByteArray t = bytes(at, n);
        const int z = t.indexOf('\0');
        return z >= 0 ? t.left(z) : t;
    }
    uint32_t byte(qint64 at) const { return static_cast<uint8_t>(m_b.at(at)); }
    static RuntimeError bad()
    {
        return RuntimeError(13, QStringLiteral("CeSetup"), QStringLiteral("Invalid data."));
    }

private:
    const QByteArray &m_b;
};

}  // namespace

Result<CeSetup> parseCeSetup(const QByteArray &b)
{
    try {
        const Reader r(b);
        if (b.size() < 100 || !b.startsWith("MSCE") || r.u32(8) != static_cast<uint32_t>(b.size()))
            throw Reader::bad();
        CeSetup s;
        s.processor = r.u32(20);
        s.versionMinMajor = r.u32(24);
        s.versionMinMinor = r.u32(28);
        s.versionMaxMajor = r.u32(32);
        s.versionMaxMinor = r.u32(36);
        s.buildMin = r.u32(40);
        s.buildMax = r.u32(44);
        s.appName = r.text(r.u16(84), r.u16(86));
        s.provider = r.text(r.u16(88), r.u16(90));
        QByteArray unsup = r.bytes(r.u16(92), r.u16(94));
        for (const QByteArray &p : unsup.split('\0'))
            if (!p.isEmpty())
                s.unsupported << p;

        std::map<uint32_t, QByteArray> strings;
        qint64 at = r.u32(60);
        for (uint32_t i = 0, n = r.u16(48); i < n; ++i) {
            const uint32_t len = r.u16(at + 2);
            strings[r.u16(at)] = r.text(at + 4, len);
            at += 4 + len;
        }
        const auto specText = [&](qint64 specAt, uint32_t len) {
            QByteArrayList parts;
            for (uint32_t k = 0; k + 2 <= len; k += 2) {
                const uint32_t id = r.u16(specAt + k);
                if (id == 0)
                    break;
                const auto it = strings.find(id);
                if (it == strings.end())
                    throw Reader::bad();
                parts << it->second;
            }
            return parts.join('\\');
        };
        std::map<uint32_t, QByteArray> dirs;
        at = r.u32(64);
        for (uint32_t i = 0, n = r.u16(50); i < n; ++i) {
            const uint32_t len = r.u16(at + 2);
            dirs[r.u16(at)] = specText(at + 4, len);
            at += 4 + len;
        }
        at = r.u32(68);
        for (uint32_t i = 0, n = r.u16(52); i < n; ++i) {
            CeSetup::File f;
            f.id = static_cast<uint16_t>(r.u16(at));
            f.directory = dirs[r.u16(at + 2)];
            f.flags = r.u32(at + 6);
            const uint32_t len = r.u16(at + 10);
            f.name = r.text(at + 12, len);
            s.files.push_back(f);
            at += 12 + len;
        }
        std::map<uint32_t, std::pair<int, QByteArray>> hives;
        at = r.u32(72);
        for (uint32_t i = 0, n = r.u16(54); i < n; ++i) {
            const uint32_t len = r.u16(at + 6);
            hives[r.u16(at)] = {static_cast<int>(r.u16(at + 2)), specText(at + 8, len)};
            at += 8 + len;
        }
        at = r.u32(76);
        for (uint32_t i = 0, n = r.u16(56); i < n; ++i) {
            CeSetup::Value v;
            const auto h = hives.find(r.u16(at + 2));
            if (h == hives.end())
                throw Reader::bad();
            v.root = h->second.first;
            v.key = h->second.second;
            v.type = r.u32(at + 6);
            const uint32_t len = r.u16(at + 10);
            const QByteArray data = r.bytes(at + 12, len);
            const int z = data.indexOf('\0');
            if (z < 0)
                throw Reader::bad();
            v.name = data.left(z);
            v.data = data.mid(z + 1);
            s.values.push_back(v);
            at += 12 + len;
        }
        return s;
    } catch (const RuntimeError &e) {
        return e;
    }
}

}  // namespace varno
