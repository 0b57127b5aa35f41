#include "platform/SqlLog.h"

// Off unless asked for, e.g. QT_LOGGING_RULES="dorvanel.sql.debug=true".
Q_LOGGING_CATEGORY(lcDorvanelSql, "dorvanel.sql", QtWarningMsg)
