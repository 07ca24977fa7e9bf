// The Windows CE setup file (the ".000" member of an installation cabinet):
// building it from what a script asks for, and reading one back.
#pragma once

#include "base/runtimeerror.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace varno {

// A count, length or offset that does not fit its field in the setup file,
// and the script line whose entry made it overflow (0 when none is known).
struct SetupOverflow {
    int line = 0;
    QString text;
};

struct CeSetup {
    struct File {
        uint16_t id = 0;       // member number (tdywater.001 -> 1)
        QByteArray directory;  // e.g. "%CE2%" or "%CE1%\Themes"
        uint32_t flags = 0;
        QByteArray name;        // installed file name
        int line = 0;           // script line of the entry
        int directoryLine = 0;  // script line naming its directory
    };
    struct Value {
        int root = 3;       // 1 HKCR, 2 HKCU, 3 HKLM, 4 HKU
        QByteArray key;     // "Software\Microsoft\Color"
        QByteArray name;    // value name; empty for the default value
        uint32_t type = 0;  // 0x00010001 word, 0 string, 0x00010000 multi, 1 binary
        QByteArray data;    // value data as stored (after the name and its zero)
        int line = 0;       // script line of the entry
    };

    QByteArray appName;
    QByteArray provider;
    QList<QByteArray> unsupported;
    uint32_t processor = 0;
    uint32_t versionMinMajor = 0, versionMinMinor = 0;
    uint32_t versionMaxMajor = 0, versionMaxMinor = 0;
    uint32_t buildMin = 0, buildMax = 0;
    std::vector<File> files;
    std::vector<Value> values;
    // Script lines of the three texts.
    int appNameLine = 0, providerLine = 0, unsupportedLine = 0;

    // The file bytes. Strings, directories and hives are shared between the
    // entries that use them. REGKEYS is placed so that its first value name
    // lies at least RegistryAreaLead bytes after the first "%CE?%" text, where
    // readers of theme files start looking for values.
    //
    // Every count, length and offset is checked against its 16- or 32-bit
    // field first. When any does not fit, nothing is built: the result is
    // empty and `overflows` gets one entry per cause, or, without it, a
    // RuntimeError Err::Overflow is thrown.
    QByteArray build(std::vector<SetupOverflow> *overflows = nullptr) const;
};

// Distance from the first "%CE?%" marker to the start of the area in which
// theme readers look for registry values.
constexpr int RegistryAreaLead = 138;

// Position of the first "%CE?%" marker (byte 3 not examined); -1 if none.
int findCeMarker(const QByteArray &bytes, int from = 0);

// Reads a setup file back, checking every offset and count against the
// file's length; a broken file gives Err::InvalidPicture's sibling, a
// RuntimeError 13 "Invalid data.".
Result<CeSetup> parseCeSetup(const QByteArray &bytes);

}  // namespace varno
