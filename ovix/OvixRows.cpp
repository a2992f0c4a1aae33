#include "OvixRows.h"

#include "OvixText.h"

#include <algorithm>
#include <charconv>

size_t OvixRows::insertIndexForRow(size_t row) const {
    for (size_t r = row; r < rows.size(); ++r)
        if (!rows[r].header) return rows[r].item;
    return itemToRow.size();
}

OvixRowBuilder::OvixRowBuilder(size_t itemCount, OvixRows recycled) {
    // Taken over emptied, keeping their memory, so that a rebuild touches no
    // fresh pages; not when a far longer playlist left them, to give that back.
    if (recycled.itemToRow.capacity() <= 2 * itemCount + 1024) _out = std::move(recycled);
    _out.rows.clear();
    _out.itemToRow.clear();
    _out.text.resize(0);
    _out.itemToRow.reserve(itemCount);
    // Most playlists hold albums of ten or so tracks: one header each.
    _out.rows.reserve(itemCount + itemCount / 8 + 1);
    // Room for the usual two lines and length; untouched room costs nothing.
    _out.text.reserve(qsizetype(std::min<size_t>(itemCount, 1u << 24) * 128));
}

OvixSpan OvixRowBuilder::append(std::string_view utf8) {
    const qsizetype at = _out.text.size();
    appendUtf8(_out.text, utf8);
    return {at, _out.text.size() - at};
}

OvixSpan OvixRowBuilder::append(const QString& text) {
    const qsizetype at = _out.text.size();
    _out.text.append(text);
    return {at, text.size()};
}

void OvixRowBuilder::add(std::string_view group, std::string_view line1, std::string_view line2,
                         std::string_view right, double length) {
    const size_t item = _out.itemToRow.size();
    if (item == 0 || group != _group) {
        closeGroup();
        _header = _out.rows.size();
        _out.rows.push_back(OvixRow{true, 0, 0, append(group), {}, {}});
        _group.assign(group);
        _count = 0;
        _total = 0;
    }
    _out.itemToRow.push_back(_out.rows.size());
    _out.rows.push_back(OvixRow{false, item, item + 1, append(line1), append(line2), append(right)});
    ++_count;
    if (length > 0) _total += length;
}

void OvixRowBuilder::closeGroup() {
    if (_header == SIZE_MAX) return;
    _out.rows[_header].line2 = append(QStringLiteral("%1 / %2").arg(_count).arg(formatDuration(_total)));
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

OvixRows buildRows(const metadb_handle_list& items, const OvixPatterns& patterns, OvixRows recycled) {
    OvixRowBuilder builder(items.size(), std::move(recycled));
    cvk::stringLite group, line1, line2, length;
    for (const auto& track : items) {
        track->format_title(nullptr, group, patterns.group, nullptr);
        track->format_title(nullptr, line1, patterns.line1, nullptr);
        track->format_title(nullptr, line2, patterns.line2, nullptr);
        track->format_title(nullptr, length, patterns.length, nullptr);
        builder.add(group.str(), line1.str(), line2.str(), length.str(), track->get_length());
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
