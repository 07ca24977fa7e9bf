// The settings store as a typed, human-readable text file. The layout follows
// the registry export format so a user can read and fix it by hand:
//
//   Varno Settings 1
//   [Settings]
//   "TTYPE"="QVGA"
//   "wm5colors"=dword:ffffffff
//   "Blob"=hex:01,02,ff
//   "Other"=hex(7):41,00,00,00
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace varno {

// Value types as the store keeps them (the registry's numbers).
enum RegType : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

struct SettingsValue {
    QString name;
    uint32_t type = REG_SZ;
    QString text;       // REG_SZ
    uint32_t word = 0;  // REG_DWORD
    QByteArray bytes;   // REG_BINARY and any other type
};

struct SettingsSection {
    QString path;                       // as first written, e.g. Settings\Window
    std::vector<SettingsValue> values;  // in creation order, as enumeration reports them
};

// Keys and value names compare without regard to case, as on the device.
class SettingsTree {
public:
    SettingsSection *find(const QString &path);
    const SettingsSection *find(const QString &path) const;
    // Creates the key and every missing parent.
    SettingsSection &create(const QString &path);
    // Removes a key that has no sub-keys; false otherwise.
    bool remove(const QString &path);
    // Direct sub-key names of `path`, in creation order.
    QStringList subsections(const QString &path) const;
    bool empty() const { return m_sections.empty(); }

    static SettingsValue *findValue(SettingsSection &key, const QString &name);
    static const SettingsValue *findValue(const SettingsSection &key, const QString &name);

    QByteArray serialize() const;
    // Parses a whole file in one pass. Lines that cannot be read are left
    // out and listed ("line 7: this value cannot be read"); every other
    // value is kept. A UTF-8 byte-order mark is allowed.
    struct Parsed;
    static Parsed parse(const QByteArray &text);

private:
    static QString fold(const QString &path) { return path.toCaseFolded(); }
    std::vector<SettingsSection> m_sections;  // creation order, for stable files
    std::map<QString, size_t> m_index;        // folded path -> position
};

struct SettingsTree::Parsed {
    SettingsTree tree;
    QStringList dropped;
};

}  // namespace varno
