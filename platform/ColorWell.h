#pragma once

// A colour swatch button: shows a colour and lets the user pick another in the
// colour dialog. Its signals fire only for what the user does, never for
// setColor. Main thread.

#include "platform_export.h"

#include <QAbstractButton>
#include <QColor>

namespace platform {

class QOV_PLATFORM_API ColorWell : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColorWell(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // As if the user had chosen `color` in the dialog.
    void pick(const QColor& color);

    QSize sizeHint() const override { return QSize(44, 23); }

signals:
    // Each colour the user tries while the dialog is open: a live preview.
    void colorBrowsed(const QColor& color);
    void colorPicked(const QColor& color);
    // The dialog was cancelled; the well shows the colour it had before again.
    void pickCancelled();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openDialog();

    QColor m_color;
};

}  // namespace platform
