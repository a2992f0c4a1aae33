#include "EditResponder.h"

namespace platform {

// Out of line: the type's identity then lives in this library alone, so a view
// in a bundle is recognised as a responder by the host.
EditResponder::~EditResponder() = default;

}  // namespace platform
