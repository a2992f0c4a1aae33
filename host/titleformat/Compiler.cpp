// Pattern text → Program. A recursive-descent parse into a small tree, then a
// flattening pass that lays every sequence out as adjacent nodes.

#include <cstring>

#include "Program_p.h"
#include "Script.h"
#include "Utf8.h"

namespace titleformat {

namespace {

// Deeper nesting is no pattern anyone writes; the limit keeps the recursive
// parse and run within the stack whatever the input.
constexpr int kMaxDepth = 100;

struct ParseNode {
    Op op = Op::Text;
    Fn fn = Fn::If;
    std::string text;  // Text: the literal; Tag: the lower-case name
    uint32_t field = 0;
    std::vector<ParseNode> body;               // Section
    std::vector<std::vector<ParseNode>> args;  // Call
};

using Sequence = std::vector<ParseNode>;

enum class Context { Top, Section, Arg };

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    Sequence parseAll() { return sequence(Context::Top, 0); }

    bool ok() const { return m_ok; }
    const SyntaxError& error() const { return m_error; }

private:
    void fail(std::size_t offset, const char* message) {
        if (!m_ok) return;
        m_ok = false;
        m_error = {offset, message};
    }

    static void appendText(Sequence& seq, std::string_view text) {
        if (text.empty()) return;
        if (!seq.empty() && seq.back().op == Op::Text) {
            seq.back().text += text;
        } else {
            ParseNode n;
            n.text = text;
            seq.push_back(std::move(n));
        }
    }

    // Stops before the character that ends the sequence (']' in a section, ','
    // or ')' in an argument) or at the end of the text.
    Sequence sequence(Context ctx, int depth) {
        Sequence seq;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            switch (c) {
                case '\'':
                    quoted(seq);
                    break;
                case '%':
                    field(seq);
                    break;
                case '[':
                    if (depth >= kMaxDepth) {
                        fail(m_pos, "nesting too deep");
                        appendText(seq, "[");
                        ++m_pos;
                    } else {
                        section(seq, depth);
                    }
                    break;
                case ']':
                    if (ctx == Context::Section) return seq;
                    fail(m_pos, "']' without '['");
                    appendText(seq, "]");
                    ++m_pos;
                    break;
                case '$':
                    call(seq, depth);
                    break;
                case ',':
                case ')':
                    if (ctx == Context::Arg) return seq;
                    appendText(seq, std::string_view(&m_text[m_pos], 1));
                    ++m_pos;
                    break;
                default: {
                    std::size_t end = m_text.find_first_of("'%[]$,)", m_pos);
                    if (end == std::string_view::npos) end = m_text.size();
                    appendText(seq, m_text.substr(m_pos, end - m_pos));
                    m_pos = end;
                    break;
                }
            }
        }
        return seq;
    }

    void quoted(Sequence& seq) {
        std::size_t open = m_pos;
        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
            appendText(seq, "'");
            m_pos += 2;
            return;
        }
        std::size_t close = m_text.find('\'', open + 1);
        if (close == std::string_view::npos) {
            fail(open, "unclosed quote");
            appendText(seq, m_text.substr(open + 1));
            m_pos = m_text.size();
            return;
        }
        appendText(seq, m_text.substr(open + 1, close - open - 1));
        m_pos = close + 1;
    }

    void field(Sequence& seq) {
        std::size_t open = m_pos;
        std::size_t close = m_text.find('%', open + 1);
        if (close == std::string_view::npos) {
            // A lone percent sign ("100% sure") stays as written.
            fail(open, "unclosed field name");
            appendText(seq, "%");
            ++m_pos;
            return;
        }
        m_pos = close + 1;
        std::string_view name = m_text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            appendText(seq, "%");
            return;
        }
        ParseNode n;
        if (auto id = fieldIdFromName(name)) {
            n.op = Op::Field;
            n.field = static_cast<uint32_t>(*id);
        } else {
            n.op = Op::Tag;
            n.text = name;
            asciiLowerInPlace(n.text);
        }
        seq.push_back(std::move(n));
    }

    void section(Sequence& seq, int depth) {
        std::size_t open = m_pos++;
        ParseNode n;
        n.op = Op::Section;
        n.body = sequence(Context::Section, depth + 1);
        if (m_pos < m_text.size()) {
            ++m_pos;  // the ']'
        } else {
            fail(open, "unclosed '['");
        }
        seq.push_back(std::move(n));
    }

    static bool isNameChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }

    void call(Sequence& seq, int depth) {
        std::size_t start = m_pos;
        std::size_t end = start + 1;
        while (end < m_text.size() && isNameChar(m_text[end])) ++end;
        std::string_view name = m_text.substr(start + 1, end - start - 1);
        if (name.empty() || end >= m_text.size() || m_text[end] != '(') {
            fail(start, "'$' without a function call");
            appendText(seq, m_text.substr(start, end - start));
            m_pos = end;
            return;
        }
        if (depth >= kMaxDepth) {
            fail(start, "nesting too deep");
            appendText(seq, m_text.substr(start, end - start + 1));
            m_pos = end + 1;
            return;
        }
        m_pos = end + 1;
        std::vector<Sequence> args;
        bool closed = false;
        if (m_pos < m_text.size() && m_text[m_pos] == ')') {
            ++m_pos;
            closed = true;
        } else {
            for (;;) {
                args.push_back(sequence(Context::Arg, depth + 1));
                if (m_pos >= m_text.size()) break;
                if (m_text[m_pos++] == ')') {
                    closed = true;
                    break;
                }
            }
        }
        if (!closed) fail(start, "unclosed '('");

        const FunctionInfo* info = findFunction(name);
        if (!info) {
            appendText(seq, "[UNKNOWN FUNCTION]");
            return;
        }
        if (!acceptsArgCount(*info, args.size())) {
            std::string message = "[INVALID $";
            appendUpper(info->name, message);
            message += " SYNTAX]";
            appendText(seq, message);
            return;
        }
        ParseNode n;
        n.op = Op::Call;
        n.fn = info->fn;
        n.args = std::move(args);
        seq.push_back(std::move(n));
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_ok = true;
    SyntaxError m_error;
};

class Flattener {
public:
    explicit Flattener(Program& program) : m_program(program) {}

    // Lays out `seq` as adjacent nodes; their bodies follow after them.
    std::pair<uint32_t, uint32_t> emit(const Sequence& seq) {
        auto first = static_cast<uint32_t>(m_program.nodes.size());
        auto count = static_cast<uint32_t>(seq.size());
        m_program.nodes.resize(first + count);
        for (uint32_t i = 0; i < count; ++i) {
            Node node = build(seq[i]);
            m_program.nodes[first + i] = node;
        }
        return {first, count};
    }

private:
    uint32_t pooled(const std::string& text) {
        auto offset = static_cast<uint32_t>(m_program.pool.size());
        m_program.pool += text;
        return offset;
    }

    Node build(const ParseNode& n) {
        switch (n.op) {
            case Op::Text:
            case Op::Tag:
                return Node{n.op, Fn::If, pooled(n.text), static_cast<uint32_t>(n.text.size())};
            case Op::Field:
                return Node{Op::Field, Fn::If, n.field, 0};
            case Op::Section: {
                auto [first, count] = emit(n.body);
                return Node{Op::Section, Fn::If, first, count};
            }
            case Op::Call: {
                auto first = static_cast<uint32_t>(m_program.nodes.size());
                auto argc = static_cast<uint32_t>(n.args.size());
                m_program.nodes.resize(first + argc);
                for (uint32_t i = 0; i < argc; ++i) {
                    auto [argFirst, argCount] = emit(n.args[i]);
                    m_program.nodes[first + i] = Node{Op::Arg, Fn::If, argFirst, argCount};
                }
                return Node{Op::Call, n.fn, first, argc};
            }
            case Op::Arg:
                break;
        }
        return Node{Op::Text, Fn::If, 0, 0};
    }

    Program& m_program;
};

}  // namespace

Script Script::compile(std::string_view pattern, bool* ok, SyntaxError* error) {
    Parser parser(pattern);
    Sequence root = parser.parseAll();

    auto program = std::make_shared<Program>();
    program->pattern = pattern;
    auto [first, count] = Flattener(*program).emit(root);
    program->rootFirst = first;
    program->rootCount = count;
    program->nodes.shrink_to_fit();

    if (ok) *ok = parser.ok();
    if (error) *error = parser.ok() ? SyntaxError{} : parser.error();
    return Script(std::move(program));
}

}  // namespace titleformat
