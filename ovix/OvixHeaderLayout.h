#pragma once

// The Ovix header's arrangement, in the order its widgets are added: the 80 by
// 80 cover 8 from the left, the information column 10 right of it, the
// transport row centred in the panel and the right column 12 from the right
// edge, all centred vertically. The information column gives way to the
// transport: it ends at least 16 before it. The right column never gives way:
// the panel is at least wide enough to keep it 16 right of the transport.
// Main thread.

#include <QLayout>
#include <QList>

class OvixHeaderLayout : public QLayout {
public:
    enum Part { Cover, Info, Transport, Right, PartCount };

    // The parts keep their own distances from the panel's edges: no margins.
    explicit OvixHeaderLayout(QWidget* panel = nullptr);
    ~OvixHeaderLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(_items.size()); }
    QLayoutItem* itemAt(int index) const override { return _items.value(index); }
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override { return QSize(800, 96); }
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    QList<QLayoutItem*> _items;
};
