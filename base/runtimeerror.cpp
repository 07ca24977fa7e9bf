#include "base/runtimeerror.h"

namespace varno {

QString standardDescription(int number)
{
    switch (number) {
    case Err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case Err::Overflow: return QStringLiteral("Overflow");
    case Err::OutOfMemory: return QStringLiteral("Out of memory");
    case Err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case Err::FileNotFound: return QStringLiteral("File not found");
    case Err::BadFileMode: return QStringLiteral("Bad file mode");
    case Err::FileAlreadyOpen: return QStringLiteral("File already open");
    case Err::DeviceIOError: return QStringLiteral("Device I/O error");
    case Err::FileAlreadyExists: return QStringLiteral("File already exists");
    case Err::DiskFull: return QStringLiteral("Disk full");
    case Err::InputPastEnd: return QStringLiteral("Input past end of file");
    case Err::BadFileName: return QStringLiteral("Bad file name");
    case Err::PermissionDenied: return QStringLiteral("Permission denied");
    case Err::PathFileAccess: return QStringLiteral("Path/File access error");
    case Err::PathNotFound: return QStringLiteral("Path not found");
    case Err::InvalidPicture: return QStringLiteral("Invalid picture");
    case Err::Cancel: return QStringLiteral("Cancel was selected.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RuntimeError runtimeError(int number, const QString &source)
{
    return RuntimeError(number, source, standardDescription(number));
}

RuntimeError cancelError()
{
    return runtimeError(Err::Cancel, QStringLiteral("CommonDialog"));
}

}  // namespace varno
