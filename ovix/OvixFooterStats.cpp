#include "OvixFooterStats.h"

#include "ContainsFolded.h"
#include "FormatByteCount.h"
#include "OvixText.h"

#include <limits>

OvixTotals totalsOf(const metadb_handle_list& items) {
    OvixTotals t;
    t.count = items.size();
    for (const auto& track : items) {
        const double length = track->get_length();
        if (length > 0) t.length += length;
        const t_filesize size = track->get_filesize();
        if (size != filesize_invalid) t.bytes += size;
    }
    return t;
}

QString formatTotals(const OvixTotals& totals) {
    constexpr uint64_t kLargest = uint64_t(std::numeric_limits<qint64>::max());
    return QStringLiteral("%1 / %2 / %3")
        .arg(totals.count)
        .arg(formatDuration(totals.length),
             platform::formatByteCount(qint64(std::min(totals.bytes, kLargest))));
}

size_t firstMatch(const metadb_handle_list& items, const service_ptr_t<titleformat_object>& pattern,
                  const QString& query) {
    if (query.isEmpty()) return SIZE_MAX;
    const QString folded = platform::foldForSearch(query);
    cvk::stringLite text;
    for (size_t i = 0; i < items.size(); ++i) {
        items[i]->format_title(nullptr, text, pattern, nullptr);
        if (platform::foldForSearch(str(text.str())).contains(folded)) return i;
    }
    return SIZE_MAX;
}
