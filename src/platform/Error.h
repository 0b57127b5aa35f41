#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class QIODevice;

namespace dorvanel {

// A raised failure: the number and text that LastErr and LastErrDescrip copy.
class Error : public std::exception {
public:
    // Numbers for failures that carry no native code of their own.
    static constexpr qint32 Unexpected = -2147418113;       // any other exception
    static constexpr qint32 StatementFailed = -2147217900;  // a statement refused without a numeric code
    static constexpr qint32 OpenFailed = -2147467259;       // a connection that cannot be opened
    static constexpr qint32 ItemNotFound = 3265;            // no field of that name
    static constexpr qint32 NoCurrentRecord = 3021;         // BOF or EOF is true
    static constexpr qint32 ObjectClosed = 3704;            // operation on a closed object
    static constexpr qint32 FileFailed = 3004;              // a file cannot be read or written
    static constexpr qint32 InvalidArgument = 5;            // a value the operation cannot take
    static constexpr qint32 ObjectNotSet = 91;              // a required object reference is empty
    static constexpr qint32 CannotCreateObject = 429;       // a host class cannot be created
    static constexpr qint32 NoSuchProperty = 438;           // an object refuses a property by that name

    Error(qint32 number, QString description);

    qint32 number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

    // The Error that describes the exception being handled, whatever its type.
    static Error fromCurrentException();

private:
    qint32 number_;
    QString description_;
    QByteArray what_;
};

// What the operating system says of an errno value, with its symbolic name, which stays the same
// in every language: "No space left on device (ENOSPC)". Failures of the component that come
// from the system or an engine end their description with such a name in parentheses
// ("database is locked (SQLITE_BUSY)", "... (SQLSTATE 53100)"), so that it survives wherever
// only the description is passed on.
QString SystemErrorText(int code);
// Why a file or device call just failed: the system's reason while errno holds one (read it
// right after the call, with errno cleared before it), else the device's own text.
QString DeviceErrorText(const QIODevice& device);

}  // namespace dorvanel
