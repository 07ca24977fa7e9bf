// Varno's settings: named values in sections ("Settings", "Settings\Window").
// Every operation does its work and swallows every failure: it never throws
// and never shows anything. The data lives in a text file (see
// settingstree.h) rewritten atomically after each change.
#pragma once

#include "app/settingstree.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace varno {

class SettingsFile {
public:
    // Loads `filePath`. A file that cannot be read back is moved aside (never
    // deleted) and the store starts empty; loadProblem() then tells the user
    // what happened, once.
    explicit SettingsFile(QString filePath);

    bool createSection(const QString &key);
    QString readStringOrStore(const QString &key, const QString &name, const QString &def);
    QString readString(const QString &key, const QString &name) const;
    void writeString(const QString &key, const QString &name, const QString &text);
    int32_t readWord(const QString &key, const QString &name) const;
    int32_t readWordOrStore(const QString &key, const QString &name, int32_t def);
    void writeWord(const QString &key, const QString &name, int32_t number);
    void removeSection(const QString &key);
    void removeValue(const QString &key, const QString &name);
    // Empty when the key cannot be opened.
    std::optional<int32_t> subsectionCount(const QString &key) const;
    // 1-based; "" below 1 or beyond the last.
    QString subsectionName(const QString &key, int32_t position) const;
    int32_t valueCount(const QString &key) const;
    QString valueName(const QString &key, int32_t position) const;
    // "UNI" string, "BIN" binary, "WRD" double word, "" any other type.
    QString valueType(const QString &key, int32_t position) const;

    // Binary values complete the typed store (kept and written back as they are).
    void writeBinary(const QString &key, const QString &name, const QByteArray &data);

    QString filePath() const { return m_path; }
    // A sentence for the user when the file could not be used; "" otherwise.
    QString loadProblem() const { return m_problem; }
    // False while writes are skipped (the old file could not be moved aside,
    // or the last write failed).
    bool writable() const { return m_writable && !m_lastWriteFailed; }
    // Why the last write failed; empty when it did not.
    QString writeProblem() const { return m_writeProblem; }

    // Holds the file back while several values change together (start-up,
    // exit) and writes it once when the last batch ends.
    class Batch {
    public:
        explicit Batch(SettingsFile &file) : m_file(file) { ++m_file.m_batches; }
        ~Batch()
        {
            if (--m_file.m_batches == 0 && m_file.m_pending)
                m_file.persist();
        }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        SettingsFile &m_file;
    };

private:
    const SettingsValue *value(const QString &key, const QString &name) const;
    SettingsValue &valueForWrite(const QString &key, const QString &name);
    const SettingsSection *section(const QString &path) const;
    void load();
    void persist();

    QString m_path;
    SettingsTree m_tree;
    QString m_problem;
    bool m_writable = true;
    bool m_lastWriteFailed = false;
    QString m_writeProblem;
    int m_batches = 0;
    bool m_pending = false;
};

}  // namespace varno
