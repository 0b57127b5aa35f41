#pragma once

#include <QString>
#include <QVariant>

namespace dorvanel {

// A text column's value: an empty text is stored as empty, never as NULL.
inline QVariant Text(const QString& value) { return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value); }

// Flags are integer columns on every engine.
inline QVariant Flag(bool value) { return QVariant(value ? 1 : 0); }

}  // namespace dorvanel
