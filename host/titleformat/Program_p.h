#pragma once

// The compiled form of a pattern: a flat array of nodes. Every sequence (the
// whole pattern, a section's body, a function argument) is a run of adjacent
// nodes, so running a script walks arrays and touches no name or map.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace titleformat {

enum class Op : uint8_t {
    Text,     // a = offset in the pool, b = length
    Field,    // a = FieldId
    Tag,      // a field that is no built-in: the tag's lower-case name, as Text
    Section,  // a = first node of the body, b = node count
    Call,     // fn = Fn, a = first Arg node, b = argument count
    Arg,      // a = first node of the argument, b = node count
};

enum class Fn : uint8_t {
    If,
    If2,
    If3,
    IfEqual,
    IfGreater,
    IfLonger,
    Select,
    And,
    Or,
    Not,
    Xor,
    StrCmp,
    StrICmp,
    Greater,
    Longer,
    Len,
    Left,
    Cut,
    Right,
    Pad,
    PadRight,
    PadCut,
    PadCutRight,
    Repeat,
    Insert,
    Replace,
    Trim,
    Upper,
    Lower,
    Caps,
    Caps2,
    Abbr,
    FixEol,
    StripPrefix,
    StrChr,
    StrRChr,
    StrStr,
    Num,
    Div,
    Mul,
    Add,
    Sub,
    Mod,
    Min,
    Max,
    Ext,
    Directory,
    DirectoryPath,
    FileName,
    Year,
    Meta,
    MetaSep,
    MetaNum,
    Info,
    Crlf,
    Tab,
    Char,
    Puts,
    Put,
    Get,
};

struct FunctionInfo {
    std::string_view name;
    Fn fn;
    uint8_t minArgs;
    uint8_t maxArgs;  // kVariadic: no upper bound
};

inline constexpr uint8_t kVariadic = 255;

// Case-insensitive lookup by name without the "$".
const FunctionInfo* findFunction(std::string_view name);
// Whether `argc` arguments suit the function (some want an odd count, ...).
bool acceptsArgCount(const FunctionInfo& info, std::size_t argc);

struct Node {
    Op op;
    Fn fn;
    uint32_t a;
    uint32_t b;
};

struct Program {
    std::string pattern;
    std::string pool;  // literal texts and tag names
    std::vector<Node> nodes;
    uint32_t rootFirst = 0;
    uint32_t rootCount = 0;
};

}  // namespace titleformat
