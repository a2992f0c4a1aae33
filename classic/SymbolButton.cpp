#include "SymbolButton.h"

#include "SymbolImage.h"
#include "SystemColors.h"

#include <QEvent>

SymbolButton::SymbolButton(const QString& symbol, const QString& tip, QWidget* parent)
    : QToolButton(parent), _symbol(symbol) {
    setAutoRaise(true);
    setFixedWidth(kWidth);
    setToolTip(tip);
    setAccessibleName(tip);
    // As on the Mac, clicking a toolbar control leaves the keyboard where it was.
    setFocusPolicy(Qt::NoFocus);
    paintSymbol();
}

void SymbolButton::setSymbol(const QString& symbol) {
    if (symbol == _symbol) return;
    _symbol = symbol;
    paintSymbol();
}

void SymbolButton::changeEvent(QEvent* event) {
    QToolButton::changeEvent(event);
    // A new appearance: the symbol is drawn in its label colour.
    if (event->type() == QEvent::PaletteChange) paintSymbol();
}

void SymbolButton::paintSymbol() {
    const QColor color = platform::SystemColors::color(platform::SystemColor::Label);
    setIcon(platform::symbolIcon(_symbol, kSymbolSize, color));
    setIconSize(QSize(int(kSymbolSize) + 2, int(kSymbolSize) + 2));
}
