#pragma once

#include <QStringList>

namespace dorvanel::test {

// Collects the statement texts logged on "dorvanel.sql" while it lives.
class SqlLogCapture {
public:
    SqlLogCapture();
    ~SqlLogCapture();
    SqlLogCapture(const SqlLogCapture&) = delete;
    SqlLogCapture& operator=(const SqlLogCapture&) = delete;

    const QStringList& statements() const;
};

}  // namespace dorvanel::test
