#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace dorvanel {

// A binary buffer that a column value is written into and then saved as a file.
class Stream {
public:
    enum StreamType : qint32 { adTypeBinary = 1, adTypeText = 2 };
    enum SaveOptions : qint32 { adSaveCreateNotExist = 1, adSaveCreateOverWrite = 2 };
    enum ObjectState : qint32 { adStateClosed = 0, adStateOpen = 1 };

    qint32 Type() const { return type_; }
    void SetType(qint32 type);

    void Open();
    // Appends a binary value (or a text, as UTF-8).
    void Write(const QVariant& value);
    // Writes the whole buffer to path; the file appears only once it is complete.
    void SaveToFile(const QString& path, qint32 options = adSaveCreateNotExist);
    qint32 State() const { return open_ ? adStateOpen : adStateClosed; }
    void Close();

private:
    void requireOpen() const;

    qint32 type_ = adTypeText;
    bool open_ = false;
    QByteArray buffer_;
};

}  // namespace dorvanel
