#pragma once

// The header's panel: the window background behind the controller's widgets,
// 96 high. Main thread.

#include <QWidget>

class QovOvixHeaderView : public QWidget {
    Q_OBJECT

public:
    explicit QovOvixHeaderView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
