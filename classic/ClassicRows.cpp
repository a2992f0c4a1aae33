#include "ClassicRows.h"

#include "DisplayText.h"

#include <algorithm>
#include <string>

void ClassicRows::build(const metadb_handle_list& items, const service_ptr_t<titleformat_object>& groupScript,
                        const QString& home) {
    _rowItem.clear();
    _rowItem.reserve(items.size());
    _itemRow.assign(items.size(), 0);
    _headerRows.clear();
    _headers.clear();

    cvk::stringLite text;
    std::string last;
    for (size_t i = 0; i < items.size(); ++i) {
        if (groupScript.is_valid()) {
            items[i]->format_title(nullptr, text, groupScript, nullptr);
            if (i == 0 || text.str() != last) {
                _headerRows.push_back(_rowItem.size());
                _headers.push_back(displayLocation(textOf(text), home));
                _rowItem.push_back(-1);
                last = text.str();
            }
        }
        _itemRow[i] = _rowItem.size();
        _rowItem.push_back(int64_t(i));
    }
}

void ClassicRows::rebuildQueue(const std::vector<t_playback_queue_item>& queue, size_t playlist) {
    _queueLabels.clear();
    for (size_t k = 0; k < queue.size(); ++k) {
        if (queue[k].playlist != playlist) continue;
        const QString label = QString::number(k + 1);
        QString& existing = _queueLabels[queue[k].item];
        existing = existing.isEmpty() ? label : existing + QLatin1String(", ") + label;
    }
}

bool ClassicRows::isHeaderRow(int64_t row) const {
    return row >= 0 && size_t(row) < _rowItem.size() && _rowItem[size_t(row)] < 0;
}

int64_t ClassicRows::itemForRow(int64_t row) const {
    if (row < 0 || size_t(row) >= _rowItem.size()) return -1;
    return _rowItem[size_t(row)];
}

size_t ClassicRows::rowForItem(size_t item) const {
    return item < _itemRow.size() ? _itemRow[item] : SIZE_MAX;
}

size_t ClassicRows::insertIndexForRow(int64_t row) const {
    for (size_t r = size_t(std::max<int64_t>(row, 0)); r < _rowItem.size(); ++r)
        if (_rowItem[r] >= 0) return size_t(_rowItem[r]);
    return _itemRow.size();
}

QString ClassicRows::headerText(int64_t row) const {
    if (row < 0) return {};
    const auto it = std::lower_bound(_headerRows.begin(), _headerRows.end(), size_t(row));
    if (it == _headerRows.end() || *it != size_t(row)) return {};
    return _headers[size_t(it - _headerRows.begin())];
}

QString ClassicRows::queueLabel(size_t item) const {
    const auto it = _queueLabels.find(item);
    return it == _queueLabels.end() ? QString() : it->second;
}
