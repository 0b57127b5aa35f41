#include "platform/SqlLog.h"

Q_LOGGING_CATEGORY(lcDorvanelSql, "dorvanel.sql")
