#pragma once

#include <QLoggingCategory>

// Every statement text sent to the database is logged here before it runs.
Q_DECLARE_LOGGING_CATEGORY(lcDorvanelSql)
