// What another program drops or pastes on a playlist: a URI list becomes the
// files to add; and the rows an Ovix list drags within itself become a move
// that must stay a permutation of the playlist, whatever the payload says.

#include "FuzzTarget.h"

#include "DroppedFiles.h"
#include "OvixRows.h"

#include <QMimeData>

#include <algorithm>
#include <cstdlib>

QOV_FUZZ_TARGET(drop_payload) {
    const QByteArray payload(reinterpret_cast<const char*>(data), qsizetype(size));
    QMimeData dropped;
    dropped.setData(QStringLiteral("text/uri-list"), payload);
    for (const std::string& path : platform::droppedFiles(dropped))
        if (path.empty() || path.find('\0') != std::string::npos) std::abort();

    const std::vector<size_t> items = decodeRowItems(payload);
    const size_t count = size % 64;
    std::vector<bool> moved(count, false);
    for (size_t item : items)
        if (item < count) moved[item] = true;
    std::vector<size_t> order = moveOrder(count, moved, items.empty() ? 0 : items.front());
    if (order.size() != count) std::abort();
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < count; ++i)
        if (order[i] != i) std::abort();
    return 0;
}
