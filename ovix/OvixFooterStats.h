#pragma once

// The Ovix footer's plain work over a playlist's items: the totals line
// ("count / length / size") and the quick search's first match. Any thread.

#include "metadb_handle.h"
#include "titleformat.h"

#include <QString>

#include <cstddef>
#include <cstdint>

struct OvixTotals {
    size_t count = 0;
    double length = 0;   // seconds, known lengths only
    uint64_t bytes = 0;  // known sizes only
};

OvixTotals totalsOf(const metadb_handle_list& items);

// "2 / 5:00 / 8 MB".
QString formatTotals(const OvixTotals& totals);

// The first item whose text by `pattern` contains `query`, ignoring case and
// diacritics; SIZE_MAX when none does or the query is empty.
size_t firstMatch(const metadb_handle_list& items, const service_ptr_t<titleformat_object>& pattern,
                  const QString& query);
