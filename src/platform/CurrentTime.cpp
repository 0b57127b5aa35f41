#include "platform/CurrentTime.h"

namespace dorvanel {

QString CurrentTimeSql(Connection::Engine engine) {
    return engine == Connection::Engine::Sqlite ? QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')")
                                                : QStringLiteral("localtimestamp");
}

}  // namespace dorvanel
