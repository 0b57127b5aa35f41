#include "platform/Stream.h"

#include "platform/Error.h"
#include "platform/NewFile.h"

#include <QFileInfo>

namespace dorvanel {

void Stream::SetType(qint32 type) {
    if (open_) throw Error(Error::ObjectClosed, QStringLiteral("No se puede cambiar el tipo de un Stream abierto"));
    if (type != adTypeBinary && type != adTypeText)
        throw Error(Error::Unexpected, QStringLiteral("Tipo de Stream no válido: %1").arg(type));
    type_ = type;
}

void Stream::Open() {
    if (open_) throw Error(Error::ObjectClosed, QStringLiteral("El Stream ya está abierto"));
    buffer_.clear();
    open_ = true;
}

void Stream::Write(const QVariant& value) {
    requireOpen();
    buffer_ += value.typeId() == QMetaType::QString ? value.toString().toUtf8() : value.toByteArray();
}

void Stream::SaveToFile(const QString& path, qint32 options) {
    requireOpen();
    if (options != adSaveCreateOverWrite && QFileInfo::exists(path))
        throw Error(Error::FileFailed, QStringLiteral("El archivo ya existe: %1").arg(path));
    NewFile file(path);
    file.write(buffer_.constData(), buffer_.size());
    file.commit();
}

void Stream::Close() {
    requireOpen();
    buffer_.clear();
    open_ = false;
}

void Stream::requireOpen() const {
    if (!open_)
        throw Error(Error::ObjectClosed, QStringLiteral("No se permite la operación si el objeto está cerrado"));
}

}  // namespace dorvanel
