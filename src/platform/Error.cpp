#include "platform/Error.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cstring>

namespace dorvanel {

struct Error::Data {
    qint32 number;
    QString description;
    QStringList causes;
    QByteArray what;
};

Error::Error(qint32 number, QString description, QStringList causes)
    : d_(std::make_shared<const Data>(Data{number, description, std::move(causes), description.toUtf8()})) {}

qint32 Error::number() const noexcept { return d_->number; }
const QString& Error::description() const noexcept { return d_->description; }
const QStringList& Error::causes() const noexcept { return d_->causes; }
const char* Error::what() const noexcept { return d_->what.constData(); }

Error Error::retold(QString description) const { return Error(number(), std::move(description), causes()); }

Error Error::fromCurrentException() {
    try {
        throw;
    } catch (const Error& error) {
        return error;
    } catch (const std::exception& other) {
        return Error(Unexpected, QString::fromLocal8Bit(other.what()));
    } catch (...) {
        return Error(Unexpected, QCoreApplication::translate("dorvanel::Error", "Error inesperado"));
    }
}

QString systemErrorName(int code) {
    const char* name = code != 0 ? strerrorname_np(code) : nullptr;
    return name ? QLatin1String(name) : QString();
}

QString systemErrorText(int code) {
    const QString name = systemErrorName(code);
    const QString text = QString::fromLocal8Bit(std::strerror(code));
    return name.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, name);
}

QString deviceErrorText(const QIODevice& device, int code) {
    return code != 0 ? systemErrorText(code) : device.errorString();
}

Error systemError(qint32 number, const QString& description, int code) {
    const QString name = systemErrorName(code);
    return Error(number, description, name.isEmpty() ? QStringList() : QStringList{name});
}

}  // namespace dorvanel
