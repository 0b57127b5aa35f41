#include "platform/MessageBox.h"

#include "platform/ComponentFile.h"
#include "platform/Seam.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTextStream>

namespace dorvanel {

namespace {

constexpr qint32 IconMask = 0x70;
constexpr qint32 vbCritical = 16;
constexpr qint32 vbQuestion = 32;
constexpr qint32 vbDefaultButton2 = 256;

qint32 showWidget(const QString& prompt, qint32 style, const QString& title) {
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? ComponentFile::baseName() : title);
    box.setText(prompt);
    const qint32 icon = style & IconMask;
    box.setIcon(icon == vbCritical      ? QMessageBox::Critical
                : icon == vbQuestion    ? QMessageBox::Question
                : icon == vbInformation ? QMessageBox::Information
                                        : QMessageBox::NoIcon);
    // The buttons speak the language of the component's texts, whatever translation of Qt's own
    // texts the host loaded.
    if (asksYesNo(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("dorvanel::MessageBox", "&Sí"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("dorvanel::MessageBox", "&No"));
        box.setDefaultButton((style & vbDefaultButton2) ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("dorvanel::MessageBox", "Aceptar"));
    box.exec();
    return vbOK;
}

qint32 writeLine(const QString& prompt, qint32 style, const QString& title) {
    QTextStream err(stderr);
    err << (title.isEmpty() ? ComponentFile::baseName() : title) << ": " << prompt << Qt::endl;
    return asksYesNo(style) ? vbNo : vbOK;
}

qint32 presentByEnvironment(const QString& prompt, qint32 style, const QString& title) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return showWidget(prompt, style, title);
    return writeLine(prompt, style, title);
}

using PresenterSeam = Seam<qint32(const QString&, qint32, const QString&)>;

PresenterSeam& presenter() {
    static PresenterSeam seam(presentByEnvironment);
    return seam;
}

}  // namespace

qint32 msgBox(const QString& prompt, qint32 style, const QString& title) { return presenter()(prompt, style, title); }

MessagePresenter setMessagePresenter(MessagePresenter replacement) {
    return presenter().replace(std::move(replacement));
}

}  // namespace dorvanel
