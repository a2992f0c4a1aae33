#include "OvixHeaderLayout.h"

namespace {

constexpr int kCoverSide = 80;

QRect centredAt(int x, const QRect& panel, QSize size) {
    return QRect(x, panel.y() + (panel.height() - size.height()) / 2, size.width(), size.height());
}

}  // namespace

OvixHeaderLayout::~OvixHeaderLayout() { qDeleteAll(_items); }

void OvixHeaderLayout::addItem(QLayoutItem* item) { _items.append(item); }

QLayoutItem* OvixHeaderLayout::takeAt(int index) {
    if (index < 0 || index >= _items.size()) return nullptr;
    return _items.takeAt(index);
}

void OvixHeaderLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    if (_items.size() < PartCount) return;
    const int coverX = rect.x() + 8;
    _items[Cover]->setGeometry(centredAt(coverX, rect, QSize(kCoverSide, kCoverSide)));

    const QSize transport = _items[Transport]->sizeHint();
    const int transportX = rect.x() + (rect.width() - transport.width()) / 2;
    _items[Transport]->setGeometry(centredAt(transportX, rect, transport));

    const QSize right = _items[Right]->sizeHint();
    _items[Right]->setGeometry(centredAt(rect.right() + 1 - 12 - right.width(), rect, right));

    const int infoX = coverX + kCoverSide + 10;
    const QSize info = _items[Info]->sizeHint();
    const int room = qMax(0, transportX - 16 - infoX);
    _items[Info]->setGeometry(centredAt(infoX, rect, QSize(qMin(info.width(), room), info.height())));
}
