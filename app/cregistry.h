// The settings store wrapper. Every operation takes the hive first and the
// key path second, does its work and swallows every failure: it never throws
// and never shows anything. The data lives in a text file (see
// registryfile.h) rewritten atomically after each change.
#pragma once

#include "app/registryfile.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace varno {

enum class Hive : uint32_t {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_USERS = 0x80000003u,
};

class CRegistry {
public:
    // Loads `filePath`. A file that cannot be read back is moved aside (never
    // deleted) and the store starts empty; loadProblem() then tells the user
    // what happened, once.
    explicit CRegistry(QString filePath);

    bool CreateRegKey(Hive hive, const QString &key);
    QString ReadRegStringWithDefault(Hive hive, const QString &key, const QString &name,
                                     const QString &def);
    QString ReadRegString(Hive hive, const QString &key, const QString &name) const;
    void SaveRegString(Hive hive, const QString &key, const QString &name, const QString &text);
    int32_t ReadRegWord(Hive hive, const QString &key, const QString &name) const;
    int32_t ReadRegWordWithDefault(Hive hive, const QString &key, const QString &name, int32_t def);
    void SaveRegWord(Hive hive, const QString &key, const QString &name, int32_t number);
    void DeleteRegKey(Hive hive, const QString &key);
    void DeleteRegValue(Hive hive, const QString &key, const QString &name);
    // Empty when the key cannot be opened.
    std::optional<int32_t> SubKeyCount(Hive hive, const QString &key) const;
    // 1-based; "" below 1 or beyond the last.
    QString SubKeyName(Hive hive, const QString &key, int32_t position) const;
    int32_t SubValueCount(Hive hive, const QString &key) const;
    QString SubValueName(Hive hive, const QString &key, int32_t position) const;
    // "UNI" string, "BIN" binary, "WRD" double word, "" any other type.
    QString SubValueType(Hive hive, const QString &key, int32_t position) const;

    // Binary values complete the typed store (kept and written back as they are).
    void SaveRegBinary(Hive hive, const QString &key, const QString &name, const QByteArray &data);

    QString filePath() const { return m_path; }
    // A sentence for the user when the file could not be used; "" otherwise.
    QString loadProblem() const { return m_problem; }
    // False while writes are skipped (the old file could not be moved aside,
    // or the last write failed).
    bool writable() const { return m_writable; }

private:
    static QString fullPath(Hive hive, const QString &key);
    const RegValue *value(Hive hive, const QString &key, const QString &name) const;
    RegValue &valueForWrite(Hive hive, const QString &key, const QString &name);
    const RegKey *key(Hive hive, const QString &key) const;
    void load();
    void persist();

    QString m_path;
    RegistryTree m_tree;
    QString m_problem;
    bool m_writable = true;
    bool m_lastWriteFailed = false;
};

}  // namespace varno
