// The Classic playlist's stored columns as a damaged or hand-edited setting
// reads: whatever is parsed must write back to text that parses the same, so
// that a visit to the page never changes columns it did not touch.

#include "FuzzTarget.h"

#include "ColumnSpec.h"

#include <cstdlib>

namespace {

std::vector<std::pair<QString, double>> shown(const ColumnSpec& columns) {
    std::vector<std::pair<QString, double>> out;
    for (const SpecColumn& c : columns.columns) out.emplace_back(c.identifier, c.width);
    return out;
}

}  // namespace

QOV_FUZZ_TARGET(column_spec) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ColumnSpec first = parseColumnSpec(text);
    const ColumnSpec again = parseColumnSpec(writeColumnSpec(shown(first), first.kept));
    if (shown(again) != shown(first) || again.kept != first.kept) std::abort();
    for (const SpecColumn& c : first.columns) {
        if (c.width < kMinColumnWidth || c.width > kMaxColumnWidth) std::abort();
        if (isCustomIdentifier(c.identifier) && customParts(c.identifier) != std::pair(c.title, c.pattern))
            std::abort();
    }

    // The custom column dialog: a name and a pattern typed by the user.
    const qsizetype cut = text.indexOf(u'\x1f');
    if (cut >= 0) {
        const std::optional<QString> added = withCustomColumn(text, text.left(cut), text.mid(cut + 1));
        if (added) {
            const ColumnSpec withIt = parseColumnSpec(*added);
            if (withIt.columns.size() < std::min<size_t>(first.columns.size() + 1, kMaxColumns)) std::abort();
        }
    }
    return 0;
}
