#pragma once

#include "platform/RecordedFailure.h"
#include "repository/LinkRecord.h"

#include <QString>

namespace dorvanel {

// The shipped LinkRecord: inserts one row of DocLink with bound values.
class DefaultLinkRecord : public LinkRecord {
public:
    void SetADOCnn(std::shared_ptr<Connection> connection) override { connection_ = std::move(connection); }
    void AddNew() override;
    void SetFK_Parent(const QString& value) override { parent_ = value; }
    void SetFK_Doc(const QString& value) override { document_ = value; }
    void SetTypeParent(const QString& value) override { typeParent_ = value; }
    void SetSis(bool value) override { sis_ = value; }
    bool Update() override;

    // The failure behind the last Update that answered false.
    qint32 LastErr() const { return failure_.number; }
    QString LastErrDescrip() const { return failure_.description; }

private:
    std::shared_ptr<Connection> connection_;
    bool adding_ = false;
    QString parent_;
    QString document_;
    QString typeParent_;
    bool sis_ = true;
    RecordedFailure failure_;
};

}  // namespace dorvanel
