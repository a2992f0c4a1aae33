#include "cfg_var.h"

#include "config_store.h"
#include "std_api.h"

#include <cstring>
#include <utility>

namespace qvn {
cvk::stringLite formatCfgVarName(const GUID& guid) {
    cvk::stringLite key("cfg_var.");
    key.add_string(cvk::print_guid(guid));
    return key;
}
}  // namespace qvn

namespace cfg_var_modern {

int64_t cfg_int::get() {
    std::call_once(m_loaded, [this] {
        auto store = qvn::std_api_get<qvn::configStore>();
        m_value.store(store->getConfigInt(qvn::formatCfgVarName(m_guid), m_default));
    });
    return m_value.load();
}

void cfg_int::set(int64_t v) {
    if (get() == v) return;
    m_value.store(v);
    qvn::std_api_get<qvn::configStore>()->setConfigInt(qvn::formatCfgVarName(m_guid), v);
}

void cfg_string::load() {
    std::call_once(m_loaded, [this] {
        auto store = qvn::std_api_get<qvn::configStore>();
        qvn::stringRef stored = store->getConfigString(qvn::formatCfgVarName(m_guid), m_default.get_ptr());
        cvk::stringLite text(stored.is_valid() ? stored->c_str() : "");
        std::unique_lock lock(m_lock);
        m_value = std::move(text);
    });
}

void cfg_string::get(cvk::string_base& out) {
    load();
    std::shared_lock lock(m_lock);
    out.add_string(m_value.get_ptr());
}

cvk::stringLite cfg_string::get() {
    cvk::stringLite out;
    get(out);
    return out;
}

void cfg_string::set(const char* s) {
    if (!s) s = "";
    load();
    {
        std::unique_lock lock(m_lock);
        if (std::strcmp(m_value.get_ptr(), s) == 0) return;
        m_value = s;
    }
    // Outside the lock: racing sets may reach the store in either order.
    qvn::std_api_get<qvn::configStore>()->setConfigString(qvn::formatCfgVarName(m_guid), s);
}

}  // namespace cfg_var_modern
