#pragma once

// A colour swatch button: shows a colour and lets the user pick another in the
// colour dialog. `colorPicked` fires only for a user's choice, never for
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
    void colorPicked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openDialog();

    QColor m_color;
};

}  // namespace platform
