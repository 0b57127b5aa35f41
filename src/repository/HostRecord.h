#pragma once

namespace dorvanel {

// What the Manager's record holder keeps: a DocRecord or a LinkRecord.
class HostRecord {
public:
    virtual ~HostRecord() = default;
};

}  // namespace dorvanel
