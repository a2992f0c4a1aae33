#pragma once

// The header's cover: the picture scaled to fit with its proportions, or the
// music-note placeholder in the tertiary label colour, inside rounded corners.
// Main thread.

#include <QImage>
#include <QWidget>

class OvixCoverView : public QWidget {
    Q_OBJECT

public:
    explicit OvixCoverView(QWidget* parent = nullptr);

    // A null image shows the placeholder.
    void setImage(const QImage& image);
    const QImage& image() const { return _image; }
    bool showsPlaceholder() const { return _image.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage _image;
};
