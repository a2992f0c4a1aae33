#include "ComponentIdentity.h"

namespace qvn {
const ComponentIdentity g_identity{"qov_test", "1.2", "Test Component", "About the test component."};
}
