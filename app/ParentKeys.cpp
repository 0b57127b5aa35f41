#include "ParentKeys.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QFile>

namespace dorvanel::cli {

QStringList keysInFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileFailed, Texts::tr("No se pudo leer %1: %2").arg(path, file.errorString()));
    QStringList keys;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const QByteArray key = line.trimmed(); !key.isEmpty()) keys << QString::fromUtf8(key);
    if (keys.isEmpty()) throw Error(Error::InvalidArgument, Texts::tr("%1 no tiene ninguna clave").arg(path));
    return keys;
}

}  // namespace dorvanel::cli
