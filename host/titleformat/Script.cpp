// Running a compiled script.
//
// Every piece of a pattern yields a truth beside its text: a present field is
// true, a missing one false, literal text is neither. A section [...] is
// dropped when it read at least one field (directly or through a function or
// a nested section) and none of them was present; a section that reads no field
// at all always shows. A dropped nested section counts as one false field for
// the section around it, a shown one passes its truth on. So "[%artist% - ]"
// vanishes without an artist, and "[ (%date%)][ - %album%]" shows each part on
// its own.
//
// Output goes straight into the caller's string; a dropped section or a $if2
// whose first choice failed is cut off again by length. Argument texts that a
// function needs whole are built in per-thread scratch strings that keep their
// storage between runs.

#include "Script.h"

#include <algorithm>
#include <deque>
#include <limits>

#include "Program_p.h"
#include "TextFormat.h"
#include "TextFunctions.h"
#include "Utf8.h"

namespace titleformat {

namespace {

enum Truth : uint8_t { kNone = 0, kFalse = 1, kTrue = 3 };

Truth combine(Truth a, Truth b) { return static_cast<Truth>(a | b); }

// Bounds for functions that make text out of a number, so that
// $repeat(x,99999999999) cannot eat the machine, and for any one text a run
// builds: past it the run stops adding, so that chains of variables or
// replacements that double their text end within memory.
constexpr std::size_t kMaxGeneratedBytes = 1 << 20;
constexpr int64_t kMaxWidth = 1 << 16;
constexpr std::size_t kMaxTextBytes = 16 << 20;

struct Scratch {
    std::deque<std::string> strings;  // a deque: handed-out references survive growth
    std::size_t used = 0;
};

thread_local Scratch t_scratch;

// A run of scratch strings borrowed for one function call, returned in reverse
// order of borrowing.
class ScratchFrame {
public:
    ScratchFrame(Scratch& scratch, std::size_t count) : m_scratch(scratch), m_base(scratch.used) {
        while (m_scratch.strings.size() < m_base + count) m_scratch.strings.emplace_back();
        for (std::size_t i = 0; i < count; ++i) m_scratch.strings[m_base + i].clear();
        m_scratch.used = m_base + count;
    }
    ~ScratchFrame() {
        for (std::size_t i = m_base; i < m_scratch.used; ++i) {
            // Don't let one huge result pin its memory for the thread's life.
            if (m_scratch.strings[i].capacity() > kMaxGeneratedBytes)
                std::string().swap(m_scratch.strings[i]);
        }
        m_scratch.used = m_base;
    }
    ScratchFrame(const ScratchFrame&) = delete;
    ScratchFrame& operator=(const ScratchFrame&) = delete;

    std::string& operator[](std::size_t i) { return m_scratch.strings[m_base + i]; }

private:
    Scratch& m_scratch;
    std::size_t m_base;
};

int64_t clampWidth(int64_t n) { return n < 0 ? 0 : n > kMaxWidth ? kMaxWidth : n; }

class Runner {
public:
    Runner(const Program& program, const FieldSource& source, Scratch& scratch)
        : m_nodes(program.nodes.data()), m_pool(program.pool.data()), m_source(source), m_scratch(scratch) {}

    Truth sequence(uint32_t first, uint32_t count, std::string& out) {
        Truth truth = kNone;
        for (uint32_t i = first; i < first + count && !m_exhausted; ++i) {
            truth = combine(truth, node(m_nodes[i], out));
            if (out.size() > kMaxTextBytes) m_exhausted = true;
        }
        return truth;
    }

private:
    Truth node(const Node& n, std::string& out) {
        switch (n.op) {
            case Op::Text:
                out.append(m_pool + n.a, n.b);
                return kNone;
            case Op::Field: {
                auto id = static_cast<FieldId>(n.a);
                std::size_t mark = out.size();
                if (m_source.field(id, out) && out.size() > mark) return kTrue;
                out.resize(mark);
                if (!isFlagField(id)) out.push_back('?');
                return kFalse;
            }
            case Op::Tag: {
                std::size_t mark = out.size();
                if (appendTagValues(std::string_view(m_pool + n.a, n.b), ", ", {}, out)) return kTrue;
                out.resize(mark);
                out.push_back('?');
                return kFalse;
            }
            case Op::Section: {
                std::size_t mark = out.size();
                Truth truth = sequence(n.a, n.b, out);
                if (truth == kFalse) out.resize(mark);
                return truth;
            }
            case Op::Call:
                return call(n, out);
            case Op::Arg:
                return sequence(n.a, n.b, out);
        }
        return kNone;
    }

    Truth arg(const Node& call, uint32_t i, std::string& out) { return node(m_nodes[call.a + i], out); }

    // Evaluates argument `i` only for its truth.
    Truth argTruth(const Node& call, uint32_t i) {
        ScratchFrame frame(m_scratch, 1);
        return arg(call, i, frame[0]);
    }

    bool appendTagValues(std::string_view name, std::string_view sep, std::string_view lastSep,
                         std::string& out) {
        std::size_t count = m_source.metaCount(name);
        std::size_t mark = out.size();
        bool any = false;
        for (std::size_t i = 0; i < count && out.size() <= kMaxTextBytes; ++i) {
            std::size_t before = out.size();
            if (any) out.append(i + 1 == count && !lastSep.empty() ? lastSep : sep);
            std::size_t valueStart = out.size();
            if (m_source.meta(name, i, out) && out.size() > valueStart) {
                any = true;
            } else {
                out.resize(before);
            }
        }
        if (!any) out.resize(mark);
        return any;
    }

    // Functions that choose what to evaluate, or use their arguments only for
    // their truth.
    Truth call(const Node& n, std::string& out) {
        const uint32_t argc = n.b;
        switch (n.fn) {
            case Fn::If:
                if (argTruth(n, 0) == kTrue) return arg(n, 1, out);
                return argc > 2 ? arg(n, 2, out) : kFalse;
            case Fn::If2:
            case Fn::If3:
                for (uint32_t i = 0; i + 1 < argc; ++i) {
                    std::size_t mark = out.size();
                    if (arg(n, i, out) == kTrue) return kTrue;
                    out.resize(mark);
                }
                return arg(n, argc - 1, out);
            case Fn::IfEqual:
            case Fn::IfGreater:
            case Fn::IfLonger: {
                bool yes;
                {
                    ScratchFrame args(m_scratch, 2);
                    arg(n, 0, args[0]);
                    arg(n, 1, args[1]);
                    int64_t b = toNumber(args[1]);
                    yes = n.fn == Fn::IfEqual     ? toNumber(args[0]) == b
                          : n.fn == Fn::IfGreater ? toNumber(args[0]) > b
                                                  : static_cast<int64_t>(utf8Length(args[0])) > b;
                }
                return arg(n, yes ? 2 : 3, out);
            }
            case Fn::Select: {
                int64_t which;
                {
                    ScratchFrame args(m_scratch, 1);
                    arg(n, 0, args[0]);
                    which = toNumber(args[0]);
                }
                if (which < 1 || which >= static_cast<int64_t>(argc)) return kFalse;
                return arg(n, static_cast<uint32_t>(which), out);
            }
            case Fn::And:
                for (uint32_t i = 0; i < argc; ++i) {
                    if (argTruth(n, i) != kTrue) return kFalse;
                }
                return kTrue;
            case Fn::Or:
                for (uint32_t i = 0; i < argc; ++i) {
                    if (argTruth(n, i) == kTrue) return kTrue;
                }
                return kFalse;
            case Fn::Not:
                return argTruth(n, 0) == kTrue ? kFalse : kTrue;
            case Fn::Xor: {
                bool result = false;
                for (uint32_t i = 0; i < argc; ++i) result ^= argTruth(n, i) == kTrue;
                return result ? kTrue : kFalse;
            }
            default:
                break;
        }

        ScratchFrame args(m_scratch, argc);
        Truth truth = kNone;
        for (uint32_t i = 0; i < argc; ++i) truth = combine(truth, arg(n, i, args[i]));
        return eager(n.fn, args, argc, truth, out);
    }

    // Functions of their arguments' texts; their truth is that of the arguments
    // unless said otherwise.
    Truth eager(Fn fn, ScratchFrame& args, uint32_t argc, Truth truth, std::string& out) {
        auto num = [&args](uint32_t i) { return toNumber(args[i]); };
        auto text = [&args](uint32_t i) { return std::string_view(args[i]); };
        auto flag = [](bool b) { return b ? kTrue : kFalse; };

        switch (fn) {
            case Fn::StrCmp:
                return flag(args[0] == args[1]);
            case Fn::StrICmp: {
                ScratchFrame lowered(m_scratch, 2);
                appendLower(args[0], lowered[0]);
                appendLower(args[1], lowered[1]);
                return flag(lowered[0] == lowered[1]);
            }
            case Fn::Greater:
                return flag(num(0) > num(1));
            case Fn::Longer:
                return flag(utf8Length(args[0]) > utf8Length(args[1]));

            case Fn::Len:
                appendInt(static_cast<int64_t>(utf8Length(args[0])), out);
                return truth;
            case Fn::Left:
            case Fn::Cut:
                out.append(
                    text(0).substr(0, utf8Offset(args[0], static_cast<std::size_t>(clampWidth(num(1))))));
                return truth;
            case Fn::Right: {
                std::size_t length = utf8Length(args[0]);
                auto keep = static_cast<std::size_t>(clampWidth(num(1)));
                out.append(text(0).substr(utf8Offset(args[0], length > keep ? length - keep : 0)));
                return truth;
            }
            case Fn::Pad:
            case Fn::PadRight:
                appendPadded(args[0], static_cast<std::size_t>(clampWidth(num(1))), argc > 2 ? text(2) : " ",
                             fn == Fn::PadRight, out);
                return truth;
            case Fn::PadCut:
            case Fn::PadCutRight: {
                auto width = static_cast<std::size_t>(clampWidth(num(1)));
                appendPadded(text(0).substr(0, utf8Offset(args[0], width)), width, " ", fn == Fn::PadCutRight,
                             out);
                return truth;
            }
            case Fn::Repeat: {
                if (args[0].empty()) return truth;
                auto times = static_cast<std::size_t>(std::max<int64_t>(0, num(1)));
                times = std::min(times, kMaxGeneratedBytes / args[0].size());
                for (std::size_t i = 0; i < times; ++i) out += args[0];
                return truth;
            }
            case Fn::Insert: {
                std::size_t at = utf8Offset(args[0], static_cast<std::size_t>(std::max<int64_t>(0, num(2))));
                out.append(text(0).substr(0, at));
                out.append(args[1]);
                out.append(text(0).substr(at));
                return truth;
            }
            case Fn::Replace: {
                std::vector<std::string_view> pairs;
                pairs.reserve(argc - 1);
                for (uint32_t i = 1; i < argc; ++i) pairs.push_back(args[i]);
                appendReplaced(args[0], pairs, kMaxTextBytes, out);
                return truth;
            }
            case Fn::Trim:
                out.append(trimSpaces(args[0]));
                return truth;
            case Fn::Upper:
                appendUpper(args[0], out);
                return truth;
            case Fn::Lower:
                appendLower(args[0], out);
                return truth;
            case Fn::Caps:
            case Fn::Caps2:
                appendCapitalized(args[0], fn == Fn::Caps, out);
                return truth;
            case Fn::Abbr:
                if (argc > 1 && static_cast<int64_t>(utf8Length(args[0])) <= num(1)) {
                    out += args[0];
                } else {
                    appendAbbreviation(args[0], out);
                }
                return truth;
            case Fn::FixEol:
                appendFixedEol(args[0], argc > 1 ? text(1) : " (...)", out);
                return truth;
            case Fn::StripPrefix: {
                static constexpr std::string_view kDefaults[] = {"A", "The"};
                std::string_view s = args[0];
                auto strip = [&s](std::string_view prefix) {
                    if (prefix.empty() || s.size() <= prefix.size() || s[prefix.size()] != ' ' ||
                        !asciiEqualsIgnoreCase(s.substr(0, prefix.size()), prefix))
                        return false;
                    s.remove_prefix(prefix.size() + 1);
                    return true;
                };
                bool done = false;
                if (argc == 1) {
                    for (auto p : kDefaults) done = done || strip(p);
                } else {
                    for (uint32_t i = 1; i < argc && !done; ++i) done = strip(args[i]);
                }
                out.append(s);
                return truth;
            }
            case Fn::StrChr:
            case Fn::StrRChr: {
                std::string_view needle = text(1);
                if (!needle.empty()) needle = needle.substr(0, utf8CharSize(needle, 0));
                appendInt(static_cast<int64_t>(findCharPosition(args[0], needle, fn == Fn::StrRChr)), out);
                return truth;
            }
            case Fn::StrStr:
                appendInt(static_cast<int64_t>(findCharPosition(args[0], args[1], false)), out);
                return truth;

            case Fn::Num:
                appendZeroPadded(num(0), static_cast<std::size_t>(clampWidth(num(1))), out);
                return truth;
            case Fn::Div:
            case Fn::Mul:
            case Fn::Add:
            case Fn::Sub:
            case Fn::Mod:
            case Fn::Min:
            case Fn::Max: {
                int64_t value = num(0);
                for (uint32_t i = 1; i < argc; ++i) value = arithmetic(fn, value, num(i));
                appendInt(value, out);
                return truth;
            }

            case Fn::Ext:
                out.append(extensionOf(args[0]));
                return truth;
            case Fn::Directory:
                out.append(
                    directoryNameOf(args[0], argc > 1 ? static_cast<std::size_t>(clampWidth(num(1))) : 1));
                return truth;
            case Fn::DirectoryPath:
                out.append(directoryPathOf(args[0]));
                return truth;
            case Fn::FileName:
                out.append(fileStemOf(args[0]));
                return truth;
            case Fn::Year:
                out.append(yearOf(args[0]));
                return truth;

            // Tag and info lookups answer for the track, not for their (literal) arguments.
            case Fn::Meta: {
                asciiLowerInPlace(args[0]);
                if (argc > 1) {
                    int64_t index = num(1);
                    std::size_t mark = out.size();
                    if (index >= 0 && m_source.meta(args[0], static_cast<std::size_t>(index), out) &&
                        out.size() > mark)
                        return kTrue;
                    out.resize(mark);
                    return kFalse;
                }
                return flag(appendTagValues(args[0], ", ", {}, out));
            }
            case Fn::MetaSep:
                asciiLowerInPlace(args[0]);
                return flag(appendTagValues(args[0], args[1], argc > 2 ? text(2) : std::string_view(), out));
            case Fn::MetaNum: {
                asciiLowerInPlace(args[0]);
                std::size_t count = m_source.metaCount(args[0]);
                appendInt(static_cast<int64_t>(count), out);
                return flag(count > 0);
            }
            case Fn::Info: {
                asciiLowerInPlace(args[0]);
                std::size_t mark = out.size();
                if (m_source.info(args[0], out) && out.size() > mark) return kTrue;
                out.resize(mark);
                return kFalse;
            }

            case Fn::Crlf:
                out += "\r\n";
                return truth;
            case Fn::Tab:
                out.append(argc > 0 ? static_cast<std::size_t>(clampWidth(num(0))) : 1, '\t');
                return truth;
            case Fn::Char: {
                int64_t cp = num(0);
                if (cp > 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF))
                    appendUtf8(static_cast<char32_t>(cp), out);
                return truth;
            }

            case Fn::Puts:
            case Fn::Put: {
                setVariable(args[0], args[1]);
                if (fn == Fn::Put) out += args[1];
                return truth;
            }
            case Fn::Get: {
                for (const auto& [name, value] : m_variables) {
                    if (name == args[0]) {
                        out += value;
                        return flag(!value.empty());
                    }
                }
                return kFalse;
            }

            default:
                return truth;
        }
    }

    static int64_t arithmetic(Fn fn, int64_t a, int64_t b) {
        constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
        constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
        int64_t r;
        switch (fn) {
            case Fn::Add:
                return __builtin_add_overflow(a, b, &r) ? (b > 0 ? kMax : kMin) : r;
            case Fn::Sub:
                return __builtin_sub_overflow(a, b, &r) ? (b < 0 ? kMax : kMin) : r;
            case Fn::Mul:
                return __builtin_mul_overflow(a, b, &r) ? ((a < 0) != (b < 0) ? kMin : kMax) : r;
            // Dividing by zero leaves the value as it was rather than failing the pattern.
            case Fn::Div:
                if (b == 0) return a;
                if (a == kMin && b == -1) return kMax;
                return a / b;
            case Fn::Mod:
                if (b == 0) return a;
                if (b == -1) return 0;
                return a % b;
            case Fn::Min:
                return std::min(a, b);
            case Fn::Max:
                return std::max(a, b);
            default:
                return a;
        }
    }

    void setVariable(const std::string& name, const std::string& value) {
        for (auto& [n, v] : m_variables) {
            if (n == name) {
                v = value;
                return;
            }
        }
        m_variables.emplace_back(name, value);
    }

    const Node* m_nodes;
    const char* m_pool;
    const FieldSource& m_source;
    Scratch& m_scratch;
    std::vector<std::pair<std::string, std::string>> m_variables;  // per run
    bool m_exhausted = false;
};

}  // namespace

Script::Script() {
    static const auto empty = std::make_shared<const Program>();
    m_program = empty;
}

void Script::format(const FieldSource& source, std::string& out) const {
    out.clear();
    Runner runner(*m_program, source, t_scratch);
    runner.sequence(m_program->rootFirst, m_program->rootCount, out);
}

std::string Script::format(const FieldSource& source) const {
    std::string out;
    format(source, out);
    return out;
}

const std::string& Script::pattern() const { return m_program->pattern; }

}  // namespace titleformat
