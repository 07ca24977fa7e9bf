// The error every procedure raises and traps: a number, a source and a
// description, as shown to the user in the message boxes.
#pragma once

#include <QString>

#include <exception>
#include <optional>
#include <utility>
#include <variant>

namespace varno {

// Error numbers the program raises or maps foreign failures onto.
namespace Err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIOError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int BadFileName = 64;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPicture = 481;
constexpr int Cancel = 32755;
}  // namespace Err

class RuntimeError : public std::exception {
public:
    RuntimeError(int errorNumber, QString errorSource, QString errorDescription)
        : number(errorNumber), source(std::move(errorSource)),
          description(std::move(errorDescription)), m_what(description.toUtf8())
    {
    }

    const char *what() const noexcept override { return m_what.constData(); }

    // The cancel condition of a dialog opened with "errors on cancel".
    bool isCancel() const { return number == Err::Cancel; }

    int number;
    QString source;
    QString description;

private:
    QByteArray m_what;
};

// Standard descriptions of the run-time errors the program raises itself.
QString standardDescription(int number);

// A run-time error with its standard description.
RuntimeError runtimeError(int number, const QString &source = QStringLiteral("Varno"));

// The cancel condition raised by a dialog whose cancel counts as an error.
RuntimeError cancelError();

// For parsers of untrusted input where failure is an ordinary outcome.
template <typename T> class Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(RuntimeError error) : m_v(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_v); }
    explicit operator bool() const { return ok(); }
    T &value() { return std::get<T>(m_v); }
    const T &value() const { return std::get<T>(m_v); }
    const RuntimeError &error() const { return std::get<RuntimeError>(m_v); }
    // Returns the value or throws the error.
    T take()
    {
        if (!ok())
            throw std::get<RuntimeError>(m_v);
        return std::move(std::get<T>(m_v));
    }

private:
    std::variant<T, RuntimeError> m_v;
};

}  // namespace varno
