#pragma once

// titleformat_compiler and titleformat_object over the host's engine.
//
// compile() refuses a pattern that does not parse (so the SDK's compile_safe
// substitutes its marker script); the engine would still run it, but the user
// should see that the pattern needs fixing rather than a half-guess.
//
// Threads: any; compiled scripts are immutable.

#include "titleformat.h"

#include "Script.h"

namespace library {

class TitleformatScript : public titleformat_object {
public:
    explicit TitleformatScript(titleformat::Script script) : m_script(std::move(script)) {}

    // Null for scripts the host did not compile.
    static const TitleformatScript* from(const service_ptr_t<titleformat_object>& script);

    const titleformat::Script& script() const { return m_script; }

    void run(titleformat_hook* source, cvk::string_base& out, titleformat_text_filter* filter) override;

private:
    const titleformat::Script m_script;
};

class TitleformatCompiler : public titleformat_compiler {
public:
    bool compile(service_ptr_t<titleformat_object>& out, const char* pattern) override;
};

}  // namespace library
