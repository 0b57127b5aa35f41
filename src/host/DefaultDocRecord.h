#pragma once

#include "platform/RecordedFailure.h"
#include "repository/DocRecord.h"

#include <QString>

namespace dorvanel {

// The shipped DocRecord: one row of Docs over a Connection, written with bound values. The
// content moves between file and BLOB in chunks, so memory stays flat whatever its size.
class DefaultDocRecord : public DocRecord {
public:
    void SetADOCnn(std::shared_ptr<Connection> connection) override { connection_ = std::move(connection); }
    void AddNew() override;
    bool LoadFromADOConnection(qint32 mode, const QString& sGuid, std::shared_ptr<Connection> connection,
                               qint32 option = 0) override;

    QString Name() const override { return name_; }
    void SetName(const QString& value) override { name_ = value; }
    QString Description() const override { return description_; }
    void SetDescription(const QString& value) override { description_ = value; }
    QString Words() const override { return words_; }
    void SetWords(const QString& value) override { words_ = value; }
    QString TypeData() const override { return typeData_; }
    void SetTypeData(const QString& value) override { typeData_ = value; }
    QString urlfile() const override { return urlfile_; }
    void Seturlfile(const QString& value) override { urlfile_ = value; }
    void Setstoreout(bool value) override { storeout_ = value; }

    QString Data() override;
    void SetData(const QString& fileName) override;
    void SetMiniData(const QString& fileName) override;

    bool Update() override;
    bool Delete() override;
    QString Sys_GUID() const override { return guid_; }
    qint32 LastErr() const override { return failure_.number; }
    QString LastErrDescrip() const override { return failure_.description; }
    QStringList lastErrCauses() const override { return failure_.causes; }

private:
    enum class Mode { None, New, Loaded };

    void insertRow(const QString& guid);
    void updateRow();
    // The row's content in a work file of its own; "" when it has none.
    QString writeContentToWorkFile() const;
    Connection& connection() const;

    std::shared_ptr<Connection> connection_;
    Mode mode_ = Mode::None;
    QString guid_;
    QString name_;
    QString description_;
    QString words_;
    QString typeData_;
    QString urlfile_;
    bool storeout_ = false;
    QString dataFile_;  // files whose bytes go into the row at the next Update
    QString miniFile_;
    RecordedFailure failure_;
};

}  // namespace dorvanel
