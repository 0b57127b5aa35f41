#pragma once

#include <QMimeData>
#include <QString>
#include <optional>

namespace dorvanel {

class ReportListView;

// A document dragged out of a list onto the desktop or a file manager. What is dropped is a file
// under the document's name and type, written from the database only when the drop asks for it,
// as the content is read; it is a work file of the component's, in a folder of its own.
class DraggedDocument : public QMimeData {
    Q_OBJECT
public:
    // The list's item: its text names the file, its type code and Sys_Guid give the content.
    DraggedDocument(const ReportListView& list, qint32 item);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    // The written file; "" when the document keeps no content or it could not be written.
    QString writtenFile() const;

    QString guid_;
    QString fileName_;
    mutable std::optional<QString> written_;
};

// Makes a list's items draggable as DraggedDocument when the live Manager allows drag and drop.
void LetDocumentsBeDraggedOut(ReportListView& list);

}  // namespace dorvanel
