#pragma once

#include <QString>

namespace dorvanel {

// The name a download page proposes for saving its file. OpenDocument knows only the file it
// wrote ("temp." plus the type), while the dialogs that call it know the document's name: while
// an instance lives, the pages shown propose that name (with the file's type); otherwise they
// propose the file's own name. Instances nest, the innermost winning.
class DownloadName {
public:
    explicit DownloadName(const QString& documentName);
    ~DownloadName();
    DownloadName(const DownloadName&) = delete;
    DownloadName& operator=(const DownloadName&) = delete;

    // The name of the innermost living instance; "" when none lives.
    static QString current();

private:
    QString previous_;
};

// The name to save linkedFile under: documentName (or, when it is empty, the file's own name)
// followed by the file's extension unless it ends with it already.
QString proposedFileName(const QString& documentName, const QString& linkedFile);

}  // namespace dorvanel
