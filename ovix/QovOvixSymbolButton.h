#pragma once

// A borderless button showing one system symbol in a tint: the transport,
// order, volume and footer buttons. Its text names it to screen readers and
// is its tooltip; it takes no keyboard focus. A button whose state is shown by
// highlighting (Play, Pause, the order toggles) is checkable, and only the
// host's state checks it: a click, or a screen reader's toggle, asks; the
// refresh that follows shows the answer. Main thread.

#include "SystemColors.h"

#include <QAbstractButton>
#include <QString>

class QovOvixSymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    QovOvixSymbolButton(const QString& symbol, qreal pointSize, const QString& text,
                        QWidget* parent = nullptr);

    QString symbol() const { return _symbol; }
    void setSymbol(const QString& symbol);
    // The colour when not highlighted; the accent colour when checked.
    void setTint(platform::SystemColor tint);
    platform::SystemColor tint() const { return _tint; }
    QColor currentColor() const;
    // The host's state; the only way the button becomes checked.
    void setHighlighted(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}

private:
    QString _symbol;
    qreal _pointSize;
    platform::SystemColor _tint = platform::SystemColor::Label;
    bool _settingState = false;
};

// A symbol button sending clicked() to `slot` of `receiver`.
template <class Receiver>
QovOvixSymbolButton* symbolButton(const QString& symbol, qreal pointSize, const QString& text,
                                  Receiver* receiver, void (Receiver::*slot)()) {
    auto* button = new QovOvixSymbolButton(symbol, pointSize, text);
    QObject::connect(button, &QAbstractButton::clicked, receiver, slot);
    return button;
}
