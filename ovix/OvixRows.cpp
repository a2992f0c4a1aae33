#include "OvixRows.h"

#include "OvixText.h"

#include <charconv>

size_t OvixRows::insertIndexForRow(size_t row) const {
    for (size_t r = row; r < rows.size(); ++r)
        if (!rows[r].header) return rows[r].item;
    return itemToRow.size();
}

OvixRowBuilder::OvixRowBuilder(size_t itemCount) {
    _out.itemToRow.reserve(itemCount);
    // Most playlists hold albums of ten or so tracks: one header each.
    _out.rows.reserve(itemCount + itemCount / 8 + 1);
}

void OvixRowBuilder::add(std::string_view group, QString line1, QString line2, QString right, double length) {
    const size_t item = _out.itemToRow.size();
    if (item == 0 || group != _group) {
        closeGroup();
        _header = _out.rows.size();
        _out.rows.push_back(OvixRow{true, 0, 0, str(group), QString(), QString()});
        _group.assign(group);
        _count = 0;
        _total = 0;
    }
    _out.itemToRow.push_back(_out.rows.size());
    _out.rows.push_back(OvixRow{false, item, item + 1, std::move(line1), std::move(line2), std::move(right)});
    ++_count;
    if (length > 0) _total += length;
}

void OvixRowBuilder::closeGroup() {
    if (_header == SIZE_MAX) return;
    _out.rows[_header].line2 = QStringLiteral("%1 / %2").arg(_count).arg(formatDuration(_total));
    _header = SIZE_MAX;
}

OvixRows OvixRowBuilder::finish() {
    closeGroup();
    return std::move(_out);
}

OvixPatterns OvixPatterns::compile() {
    return {compileTF("$if2(%album artist%,?)[ - %album%]"), compileTF("[%artist% - ]%title%"),
            compileTF("[%codec%][ :: $div(%samplerate%,1000) kHz][, %bitrate% kbps][, %filesize_natural%]"),
            compileTF("[%length%]")};
}

OvixRows buildRows(const metadb_handle_list& items, const OvixPatterns& patterns) {
    OvixRowBuilder builder(items.size());
    cvk::stringLite group, text;
    for (const auto& track : items) {
        track->format_title(nullptr, group, patterns.group, nullptr);
        track->format_title(nullptr, text, patterns.line1, nullptr);
        QString line1 = str(text.str());
        track->format_title(nullptr, text, patterns.line2, nullptr);
        QString line2 = str(text.str());
        track->format_title(nullptr, text, patterns.length, nullptr);
        builder.add(group.str(), std::move(line1), std::move(line2), str(text.str()), track->get_length());
    }
    return builder.finish();
}

std::vector<size_t> moveOrder(size_t count, const std::vector<bool>& moved, size_t index) {
    auto isMoved = [&](size_t i) { return i < moved.size() && moved[i]; };
    const size_t split = std::min(index, count);
    std::vector<size_t> order;
    order.reserve(count);
    for (size_t i = 0; i < split; ++i)
        if (!isMoved(i)) order.push_back(i);
    for (size_t i = 0; i < count; ++i)
        if (isMoved(i)) order.push_back(i);
    for (size_t i = split; i < count; ++i)
        if (!isMoved(i)) order.push_back(i);
    return order;
}

QByteArray encodeRowItems(const std::vector<size_t>& items) {
    QByteArray out;
    for (size_t item : items) {
        out += QByteArray::number(qulonglong(item));
        out += '\n';
    }
    return out;
}

std::vector<size_t> decodeRowItems(const QByteArray& data) {
    std::vector<size_t> items;
    for (const QByteArray& line : data.split('\n')) {
        const QByteArray text = line.trimmed();
        int64_t value = -1;
        const auto [end, error] = std::from_chars(text.constData(), text.constData() + text.size(), value);
        if (text.isEmpty() || error != std::errc() || end != text.constData() + text.size() || value < 0)
            continue;
        items.push_back(size_t(value));
    }
    return items;
}
