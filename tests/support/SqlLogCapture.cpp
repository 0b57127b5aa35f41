#include "support/SqlLogCapture.h"

#include <QLoggingCategory>
#include <QtGlobal>

namespace dorvanel::test {

namespace {

QStringList captured;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && qstrcmp(context.category, "dorvanel.sql") == 0) {
        captured << message;
        return;
    }
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

SqlLogCapture::SqlLogCapture() {
    captured.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("dorvanel.sql.debug=true"));
    previousHandler = qInstallMessageHandler(collect);
}

SqlLogCapture::~SqlLogCapture() {
    qInstallMessageHandler(previousHandler);
    QLoggingCategory::setFilterRules(QStringLiteral("dorvanel.sql.debug=false"));
}

const QStringList& SqlLogCapture::statements() const { return captured; }

}  // namespace dorvanel::test
