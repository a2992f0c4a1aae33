#include "PendingWork.h"

#include <QObject>

#include <memory>

namespace dravik_update {

QObject* pendingWork() {
    static std::unique_ptr<QObject> owner = std::make_unique<QObject>();
    return owner.get();
}

}  // namespace dravik_update
