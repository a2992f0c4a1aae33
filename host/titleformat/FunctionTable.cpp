#include "Program_p.h"
#include "Utf8.h"

namespace titleformat {

namespace {

constexpr FunctionInfo kFunctions[] = {
    {"if", Fn::If, 2, 3},
    {"if2", Fn::If2, 2, 2},
    {"if3", Fn::If3, 2, kVariadic},
    {"ifequal", Fn::IfEqual, 4, 4},
    {"ifgreater", Fn::IfGreater, 4, 4},
    {"iflonger", Fn::IfLonger, 4, 4},
    {"select", Fn::Select, 2, kVariadic},
    {"and", Fn::And, 1, kVariadic},
    {"or", Fn::Or, 1, kVariadic},
    {"not", Fn::Not, 1, 1},
    {"xor", Fn::Xor, 1, kVariadic},
    {"strcmp", Fn::StrCmp, 2, 2},
    {"stricmp", Fn::StrICmp, 2, 2},
    {"greater", Fn::Greater, 2, 2},
    {"longer", Fn::Longer, 2, 2},
    {"len", Fn::Len, 1, 1},
    {"left", Fn::Left, 2, 2},
    {"cut", Fn::Cut, 2, 2},
    {"right", Fn::Right, 2, 2},
    {"pad", Fn::Pad, 2, 3},
    {"pad_right", Fn::PadRight, 2, 3},
    {"padcut", Fn::PadCut, 2, 2},
    {"padcut_right", Fn::PadCutRight, 2, 2},
    {"repeat", Fn::Repeat, 2, 2},
    {"insert", Fn::Insert, 3, 3},
    {"replace", Fn::Replace, 3, kVariadic},
    {"trim", Fn::Trim, 1, 1},
    {"upper", Fn::Upper, 1, 1},
    {"lower", Fn::Lower, 1, 1},
    {"caps", Fn::Caps, 1, 1},
    {"caps2", Fn::Caps2, 1, 1},
    {"abbr", Fn::Abbr, 1, 2},
    {"fix_eol", Fn::FixEol, 1, 2},
    {"stripprefix", Fn::StripPrefix, 1, kVariadic},
    {"strchr", Fn::StrChr, 2, 2},
    {"strrchr", Fn::StrRChr, 2, 2},
    {"strstr", Fn::StrStr, 2, 2},
    {"num", Fn::Num, 2, 2},
    {"div", Fn::Div, 2, kVariadic},
    {"mul", Fn::Mul, 2, kVariadic},
    {"add", Fn::Add, 1, kVariadic},
    {"sub", Fn::Sub, 2, kVariadic},
    {"mod", Fn::Mod, 2, kVariadic},
    {"min", Fn::Min, 1, kVariadic},
    {"max", Fn::Max, 1, kVariadic},
    {"ext", Fn::Ext, 1, 1},
    {"directory", Fn::Directory, 1, 2},
    {"directory_path", Fn::DirectoryPath, 1, 1},
    {"filename", Fn::FileName, 1, 1},
    {"year", Fn::Year, 1, 1},
    {"meta", Fn::Meta, 1, 2},
    {"meta_sep", Fn::MetaSep, 2, 3},
    {"meta_num", Fn::MetaNum, 1, 1},
    {"info", Fn::Info, 1, 1},
    {"crlf", Fn::Crlf, 0, 0},
    {"tab", Fn::Tab, 0, 1},
    {"char", Fn::Char, 1, 1},
    {"puts", Fn::Puts, 2, 2},
    {"put", Fn::Put, 2, 2},
    {"get", Fn::Get, 1, 1},
};

}  // namespace

const FunctionInfo* findFunction(std::string_view name) {
    for (const auto& f : kFunctions) {
        if (asciiEqualsIgnoreCase(f.name, name)) return &f;
    }
    return nullptr;
}

bool acceptsArgCount(const FunctionInfo& info, std::size_t argc) {
    if (argc < info.minArgs || (info.maxArgs != kVariadic && argc > info.maxArgs)) return false;
    // Search and replacement come in pairs after the text.
    if (info.fn == Fn::Replace) return argc % 2 == 1;
    return true;
}

}  // namespace titleformat
