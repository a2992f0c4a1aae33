#include "dravik_update_initquit.h"

#include "UpdateCheck.h"

#include "ComponentIdentity.h"

void dravik_update_initquit::on_init() {
    const qvn::ComponentIdentity& id = qvn::g_identity;
    dravik_update::checkAfterStartUp(QString::fromUtf8(id.fileName), QString::fromUtf8(id.version),
                                     QString::fromUtf8(id.displayName));
}
