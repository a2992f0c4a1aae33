#include "TitleformatService.h"

#include "HookedFields.h"

#include "service_factory.h"

namespace library {

static service_factory_singleton_t<TitleformatCompiler> g_titleformatCompilerFactory;

const TitleformatScript* TitleformatScript::from(const service_ptr_t<titleformat_object>& script) {
    return dynamic_cast<const TitleformatScript*>(script.get_ptr());
}

void TitleformatScript::run(titleformat_hook* source, cvk::string_base& out,
                            titleformat_text_filter* filter) {
    std::string text;
    m_script.format(HookedFields(nullptr, source, filter), text);
    out.set_string(text.data(), text.size());
}

bool TitleformatCompiler::compile(service_ptr_t<titleformat_object>& out, const char* pattern) {
    if (!pattern) return false;
    bool ok = false;
    titleformat::Script script = titleformat::Script::compile(pattern, &ok);
    if (!ok) return false;
    out = service_new<TitleformatScript>(std::move(script));
    return true;
}

}  // namespace library
