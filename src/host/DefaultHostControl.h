#pragma once

#include "component/HostControl.h"

#include <QWidget>

namespace dorvanel {

// The shipped host form control: an empty widget that keeps the four properties a dialog gives
// it and refuses any other name, as the host's own control would. It lives with the other
// host-side defaults because a host replaces it through the host-class registry, which only
// this folder fills.
class DefaultHostControl : public QWidget, public HostControl {
    Q_OBJECT
    Q_PROPERTY(QString modulo MEMBER modulo_)
    Q_PROPERTY(QString Nombre MEMBER nombre_)
    Q_PROPERTY(QString Ubicacion MEMBER ubicacion_)
    Q_PROPERTY(QString Version MEMBER version_)
public:
    // Raises Error 438 for a name that is none of the four.
    void SetProperty(const QString& name, const QVariant& value) override;
    QVariant Property(const QString& name) const override;

private:
    QString modulo_;
    QString nombre_;
    QString ubicacion_;
    QString version_;
};

}  // namespace dorvanel
