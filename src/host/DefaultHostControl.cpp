#include "host/DefaultHostControl.h"

#include "platform/Error.h"

#include <QCoreApplication>

namespace dorvanel {

void DefaultHostControl::SetProperty(const QString& name, const QVariant& value) {
    // QObject::setProperty would add a dynamic property for an unknown name instead of refusing it.
    const QByteArray key = name.toUtf8();
    if (metaObject()->indexOfProperty(key.constData()) < 0 || !setProperty(key.constData(), value))
        throw Error(Error::NoSuchProperty,
                    QCoreApplication::translate("dorvanel::DefaultHostControl", "El objeto no admite la propiedad %1")
                        .arg(name));
}

QVariant DefaultHostControl::Property(const QString& name) const { return property(name.toUtf8().constData()); }

}  // namespace dorvanel
