#include "OvixRowListModel.h"

OvixRowListModel::OvixRowListModel(PlayingTest playing, QObject* parent)
    : QAbstractListModel(parent), _playing(std::move(playing)) {}

const OvixRow* OvixRowListModel::row(int index) const {
    if (index < 0 || size_t(index) >= _rows.rows.size()) return nullptr;
    return &_rows.rows[size_t(index)];
}

int OvixRowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(std::min(_rows.rows.size(), size_t(INT_MAX)));
}

QVariant OvixRowListModel::data(const QModelIndex& index, int role) const {
    const OvixRow* r = row(index.row());
    if (!r) return {};
    const QStringView line1 = _rows[r->line1], line2 = _rows[r->line2], right = _rows[r->right];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            if (r->header) return QStringLiteral("%1, %2").arg(line1, line2);
            return QStringLiteral("%1. %2").arg(r->number).arg(line1);
        case Qt::AccessibleDescriptionRole: {
            if (r->header) return {};
            QString text = right.isEmpty() ? line2.toString() : QStringLiteral("%1, %2").arg(line2, right);
            if (isPlaying(*r)) text.prepend(QStringLiteral("Playing, "));
            return text;
        }
        default:
            return {};
    }
}

Qt::ItemFlags OvixRowListModel::flags(const QModelIndex& index) const {
    const OvixRow* r = row(index.row());
    if (!r) return Qt::NoItemFlags;
    if (r->header) return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}
