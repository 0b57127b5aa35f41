#include "platform/Error.h"

#include <QIODevice>

#include <cerrno>
#include <cstring>

namespace dorvanel {

Error::Error(qint32 number, QString description)
    : number_(number), description_(std::move(description)), what_(description_.toUtf8()) {}

Error Error::fromCurrentException() {
    try {
        throw;
    } catch (const Error& error) {
        return error;
    } catch (const std::exception& other) {
        return Error(Unexpected, QString::fromLocal8Bit(other.what()));
    } catch (...) {
        return Error(Unexpected, QStringLiteral("Error inesperado"));
    }
}

QString SystemErrorText(int code) {
    const char* name = strerrorname_np(code);
    const QString text = QString::fromLocal8Bit(std::strerror(code));
    return name ? QStringLiteral("%1 (%2)").arg(text, QLatin1String(name)) : text;
}

QString DeviceErrorText(const QIODevice& device) { return errno != 0 ? SystemErrorText(errno) : device.errorString(); }

}  // namespace dorvanel
