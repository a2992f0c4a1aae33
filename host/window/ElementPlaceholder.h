#pragma once

// What stands in the layout where an element could not be made: a hatched,
// dashed box that says why, so a broken layout is plain to see. GUI thread.

#include <QString>
#include <QWidget>

class ElementPlaceholder : public QWidget {
    Q_OBJECT

public:
    ElementPlaceholder(const QString& message, QWidget* parent = nullptr);

    QString message() const { return m_message; }
    QSize sizeHint() const override { return QSize(200, 44); }
    QSize minimumSizeHint() const override { return QSize(60, 28); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_message;
};
