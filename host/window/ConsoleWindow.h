#pragma once

// Shows the console's lines as they come, from whatever thread prints them.
// GUI thread.

#include "Console.h"

#include <QWidget>

class QPlainTextEdit;

class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleWindow(Console& console, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    QString text() const;

private:
    void appendLine(const QString& line);

    QPlainTextEdit* m_view;
    Console::Subscription m_subscription;
};
