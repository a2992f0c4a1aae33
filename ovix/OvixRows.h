#pragma once

// The Ovix playlist's rows as plain data: one-line group headers (album artist
// and album) over two-line track rows, and for each playlist item the row that
// shows it. Built whole from the playlist's items on every rebuild; consecutive
// items with the same group text share a header, which carries the group's
// track count and total length. The rows' texts are kept one after the other in
// one string the rows own together: a rebuild of a long playlist then costs
// little more than formatting it. Any thread; an instance belongs to one.

#include "metadb_handle.h"
#include "titleformat.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Where one text of a row sits in OvixRows::text.
struct OvixSpan {
    qsizetype at = 0;
    qsizetype size = 0;
};

struct OvixRow {
    bool header = false;
    size_t item = 0;    // the item's playlist index; 0 for a header
    size_t number = 0;  // item + 1; 0 for a header
    OvixSpan line1;     // group text, or the track's first line
    OvixSpan line2;     // "N / total" of the group, or the track's second line
    OvixSpan right;     // the track's length; empty for a header
};

struct OvixRows {
    std::vector<OvixRow> rows;
    // Entry i: the row of playlist item i. Its length is the item count.
    std::vector<size_t> itemToRow;
    // Every text of the rows.
    QString text;

    QStringView operator[](OvixSpan span) const { return QStringView(text).mid(span.at, span.size); }

    // Where items dropped above `row` go in the playlist: the first track at
    // or below it, else the end.
    size_t insertIndexForRow(size_t row) const;
};

// Adds items in playlist order and closes the groups.
class OvixRowBuilder {
public:
    // `recycled`: earlier rows whose memory the new ones may take over.
    explicit OvixRowBuilder(size_t itemCount, OvixRows recycled = {});

    // Texts in UTF-8 (text that is not reads as empty); `length` in seconds,
    // unknown (0 or less) adds nothing to the group's total.
    void add(std::string_view group, std::string_view line1, std::string_view line2, std::string_view right,
             double length);
    OvixRows finish();

private:
    void closeGroup();
    OvixSpan append(std::string_view utf8);
    OvixSpan append(const QString& text);

    OvixRows _out;
    std::string _group;
    size_t _header = SIZE_MAX;
    size_t _count = 0;
    double _total = 0;
};

// The four patterns of the list, compiled by the host.
struct OvixPatterns {
    service_ptr_t<titleformat_object> group, line1, line2, length;

    static OvixPatterns compile();
};

OvixRows buildRows(const metadb_handle_list& items, const OvixPatterns& patterns, OvixRows recycled = {});

// The order (order[new position] = old index) that moves the marked items, in
// their playlist order, in front of item `index`; unmarked items keep theirs.
std::vector<size_t> moveOrder(size_t count, const std::vector<bool>& moved, size_t index);

// Rows dragged within the list: one decimal item index a line.
inline constexpr char kRowsMimeType[] = "com.quorvane.qov-ovix-ui.rows";
QByteArray encodeRowItems(const std::vector<size_t>& items);
// Lines that are no index (not a non-negative decimal number) are left out.
std::vector<size_t> decodeRowItems(const QByteArray& data);
