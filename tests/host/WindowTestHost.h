#pragma once

// One host for the whole window test program: the real bundles beside the
// host (bin/components) and the window fixture bundle installed in a
// throw-away profile, loaded once (bundles are not reloaded between tests).

#include <QString>
#include <QStringList>

#include <cstdint>

namespace WindowTestHost {

// Console lines printed since `mark` (Console::global().mark()).
QStringList linesSince(uint64_t mark);
bool printedSince(uint64_t mark, const QString& line);

}  // namespace WindowTestHost
