#include "package/cesetup.h"

#include <QHash>
#include <QtEndian>

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

// Shared string, directory and hive tables, ids from 1 in order of first
// use. Looked up by hash: a script may name tens of thousands of keys.
struct Tables {
    struct Hive {
        int root;
        std::vector<int> spec;
        auto operator<=>(const Hive &) const = default;
    };
    std::vector<QByteArray> strings;
    QHash<QByteArray, int> stringIds;
    std::vector<std::vector<int>> dirs;
    std::map<std::vector<int>, int> dirIds;
    std::vector<Hive> hives;
    std::map<Hive, int> hiveIds;

    int string(const QByteArray &s)
    {
        if (const auto it = stringIds.constFind(s); it != stringIds.cend())
            return *it;
        strings.push_back(s);
        stringIds.insert(s, int(strings.size()));
        return int(strings.size());
    }
    std::vector<int> path(const QByteArray &p)
    {
        std::vector<int> ids;
        for (const QByteArray &part : p.split('\\'))
            if (!part.isEmpty())
                ids.push_back(string(part));
        return ids;
    }
    int dir(const QByteArray &p)
    {
        auto [it, added] = dirIds.try_emplace(path(p), int(dirs.size()) + 1);
        if (added)
            dirs.push_back(it->first);
        return it->second;
    }
    int hive(int root, const QByteArray &key)
    {
        auto [it, added] = hiveIds.try_emplace(Hive{root, path(key)}, int(hives.size()) + 1);
        if (added)
            hives.push_back(it->first);
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

}  // namespace

int findCeMarker(const QByteArray &bytes, int from)
{
    for (int p = std::max(0, from); p + 4 < bytes.size(); ++p)
        if (bytes[p] == '%' && bytes[p + 1] == 'C' && bytes[p + 2] == 'E' && bytes[p + 4] == '%')
            return p;
    return -1;
}

QByteArray CeSetup::build() const
{
    Tables t;
    // Ids are handed out directories first, then registry keys, so the
    // STRINGS section is complete before it is written.
    std::vector<int> fileDirs;
    for (const File &f : files)
        fileDirs.push_back(t.dir(f.directory));
    std::vector<int> valueHives;
    for (const Value &v : values)
        valueHives.push_back(t.hive(v.root, v.key));

    QByteArray b(100, '\0');
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
