// The updater's start-up hook, compiled into every bundle with that bundle's
// identity: each component checks for its own update.

#include "UpdateCheck.h"

#include "ComponentIdentity.h"
#include "initquit.h"
#include "service_factory.h"

namespace {

class dravik_update_initquit : public initquit {
public:
    void on_init() override {
        const qvn::ComponentIdentity& id = qvn::g_identity;
        dravik_update::checkAfterStartUp(QString::fromUtf8(id.fileName), QString::fromUtf8(id.version),
                                         QString::fromUtf8(id.displayName));
    }
};

service_factory_singleton_t<dravik_update_initquit> g_update_factory;

}  // namespace
