// The Windows CE setup file (the ".000" member of an installation cabinet):
// building it from what a script asks for, and reading one back.
#pragma once

#include "base/runtimeerror.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

namespace varno {

struct CeSetup {
    struct File {
        uint16_t id = 0;       // member number (tdywater.001 -> 1)
        QByteArray directory;  // e.g. "%CE2%" or "%CE1%\Themes"
        uint32_t flags = 0;
        QByteArray name;  // installed file name
    };
    struct Value {
        int root = 3;       // 1 HKCR, 2 HKCU, 3 HKLM, 4 HKU
        QByteArray key;     // "Software\Microsoft\Color"
        QByteArray name;    // value name; empty for the default value
        uint32_t type = 0;  // 0x00010001 word, 0 string, 0x00010000 multi, 1 binary
        QByteArray data;    // value data as stored (after the name and its zero)
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

    // The file bytes. Strings, directories and hives are shared between the
    // entries that use them. REGKEYS is placed so that its first value name
    // lies at least RegistryAreaLead bytes after the first "%CE?%" text, where
    // readers of theme files start looking for values.
    QByteArray build() const;
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
