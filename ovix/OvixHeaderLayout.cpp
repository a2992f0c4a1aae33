#include "OvixHeaderLayout.h"

namespace {

constexpr int kCoverSide = 80;
constexpr int kCoverLeft = 8;
constexpr int kInfoGap = 10;
constexpr int kTransportGap = 16;
constexpr int kRightMargin = 12;
constexpr int kHeight = 96;

QRect centredAt(int x, const QRect& panel, QSize size) {
    return QRect(x, panel.y() + (panel.height() - size.height()) / 2, size.width(), size.height());
}

}  // namespace

OvixHeaderLayout::OvixHeaderLayout(QWidget* panel) : QLayout(panel) { setContentsMargins(0, 0, 0, 0); }

OvixHeaderLayout::~OvixHeaderLayout() { qDeleteAll(_items); }

void OvixHeaderLayout::addItem(QLayoutItem* item) { _items.append(item); }

QLayoutItem* OvixHeaderLayout::takeAt(int index) {
    if (index < 0 || index >= _items.size()) return nullptr;
    return _items.takeAt(index);
}

QSize OvixHeaderLayout::minimumSize() const {
    if (_items.size() < PartCount) return QSize(0, kHeight);
    // The centred transport needs the wider of its two sides' room on both.
    const int transport = _items[Transport]->sizeHint().width();
    const int left = kCoverLeft + kCoverSide + kInfoGap + kTransportGap;
    const int right = kTransportGap + _items[Right]->sizeHint().width() + kRightMargin;
    return QSize(transport + 2 * qMax(left, right), kHeight);
}

void OvixHeaderLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    if (_items.size() < PartCount) return;
    const int coverX = rect.x() + kCoverLeft;
    _items[Cover]->setGeometry(centredAt(coverX, rect, QSize(kCoverSide, kCoverSide)));

    const QSize transport = _items[Transport]->sizeHint();
    const int transportX = rect.x() + (rect.width() - transport.width()) / 2;
    _items[Transport]->setGeometry(centredAt(transportX, rect, transport));

    const QSize right = _items[Right]->sizeHint();
    _items[Right]->setGeometry(centredAt(rect.right() + 1 - kRightMargin - right.width(), rect, right));

    const int infoX = coverX + kCoverSide + kInfoGap;
    const QSize info = _items[Info]->sizeHint();
    const int room = qMax(0, transportX - kTransportGap - infoX);
    _items[Info]->setGeometry(centredAt(infoX, rect, QSize(qMin(info.width(), room), info.height())));
}
