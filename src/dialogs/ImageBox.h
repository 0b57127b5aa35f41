#pragma once

#include <QImage>
#include <QLabel>

namespace dorvanel {

// A picture area whose picture is stretched to the box: cleared, or loaded from a file whose
// format is recognised from its content rather than from its name.
class ImageBox : public QLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    void Clear();
    // Raises Error when the file holds no picture that can be read; the shown one then stays.
    void LoadPicture(const QString& fileName);
    // The picture a box shows before anything was loaded: a frame with a crossed-out page,
    // 94 x 94 pixels, drawn by the component itself.
    void ShowBuiltInPlaceholder();

    const QImage& Picture() const { return picture_; }

private:
    void display(const QImage& picture);

    QImage picture_;
};

}  // namespace dorvanel
