// Our cabinet wizard: compiles an installation script and the files it
// names into a Windows CE installation cabinet (setup file + members), as
// the device SDK's wizard does, without leaving the process.
#pragma once

#include <QString>
#include <QStringList>

namespace varno {

struct CabWizOptions {
    QString script;     // path of the .inf; its folder holds the source files
    QString errorFile;  // problems go here, one line each; empty: nowhere
    QString cpu;        // section suffix and cabinet name part, e.g. "ipaq"
    bool compress = false;
};

struct CabWizResult {
    bool ok = false;
    QString cabinet;       // path of the cabinet written
    QStringList problems;  // what stopped it, each naming its script line
};

// Builds "<script base>.<cpu>.CAB" beside the script. On any problem no
// cabinet is left behind and the problems are written to the error file.
CabWizResult runCabWiz(const CabWizOptions &options);

// True when a directive file says ".Set Compress=ON".
bool ddfWantsCompression(const QString &ddfPath);

// The 8.3 member name of a file: up to eight characters of its base name,
// padded on the left with "0", then the three-digit number.
QString cabMemberName(const QString &fileName, int number);

}  // namespace varno
