#pragma once

#include <QString>

namespace dorvanel {

// The login name of the user this process runs as, for the records of who changed what; the
// USER environment variable when the system has no entry for the user, "" when neither names one.
QString systemUserName();

}  // namespace dorvanel
