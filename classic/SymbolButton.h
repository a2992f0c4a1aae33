#pragma once

// A borderless button showing a system symbol in the label colour of the
// current appearance; its tooltip is also what screen readers call it.
// Main thread.

#include <QToolButton>

class SymbolButton : public QToolButton {
    Q_OBJECT

public:
    static constexpr int kWidth = 24;
    static constexpr double kSymbolSize = 14;

    SymbolButton(const QString& symbol, const QString& tip, QWidget* parent = nullptr);

    QString symbol() const { return _symbol; }
    void setSymbol(const QString& symbol);

protected:
    void changeEvent(QEvent* event) override;

private:
    void paintSymbol();

    QString _symbol;
};
