#include "download/Pattern.h"

#include <cstdint>
#include <cwctype>
#include <memory>
#include <unordered_set>

// The pattern is parsed into a tree, the tree is compiled into a small instruction program,
// and the program is run by a backtracking machine that keeps its alternatives on a heap
// stack. Nothing recurses per character of the text, so a header value of any length cannot
// exhaust the thread's stack; only the parser and the compiler recurse, once per nesting level
// of the pattern, and the nesting is capped.
//
// The work is bounded as well. Whether the program can reach its end from a given state
// (instruction, text position, and whether the current round of a repetition has consumed
// anything yet) never depends on how that state was reached (captures do not steer the
// matching), so a state that failed once fails forever, also for later start positions. One
// bit per state remembers the states already tried during the whole call, which makes a call
// cost at most (program size x text length) steps.

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

// Patterns nesting groups deeper than this are refused.
constexpr int kMaxNesting = 100;
// Bits of the table of tried states and entries of the backtracking stack (8 bytes each) one
// call may use: 64 MiB each. Texts that would need more for their pattern are refused.
constexpr size_t kMaxStateBits = size_t(64) << 23;
constexpr size_t kMaxStackEntries = size_t(8) << 20;

struct Node;
using Sequence = std::vector<std::unique_ptr<Node>>;

struct CharSet {
    std::vector<std::pair<wchar_t, wchar_t>> ranges;  // as written in the pattern
    bool negated = false;

    // c is already in lower case. A range of capitals also admits its small letters.
    bool Contains(wchar_t c) const {
        bool found = false;
        for (const auto& range : ranges) {
            if ((c >= range.first && c <= range.second) ||
                (c >= Lower(range.first) && c <= Lower(range.second))) {
                found = true;
                break;
            }
        }
        return found != negated;
    }
};

struct Node {
    enum Kind { Char, Any, Set, Group, Repeat } kind;
    wchar_t ch = 0;                      // Char (lower case)
    CharSet set;                         // Set
    int capture = -1;                    // Group: capture index or -1
    std::vector<Sequence> alternatives;  // Group
    std::unique_ptr<Node> child;         // Repeat
    int min = 0, max = 1;                // Repeat; max -1 is unbounded
    bool greedy = true;                  // Repeat
    explicit Node(Kind k) : kind(k) {}
};

const wchar_t* Expansion(wchar_t letter) {
    switch (letter) {
    case L'a': return L"([a-zA-Z0-9])";
    case L'b': return L"([ \\t])";
    case L'c': return L"([a-zA-Z])";
    case L'd': return L"([0-9])";
    case L'h': return L"([0-9a-fA-F])";
    case L'n': return L"(\r|(\r?\n))";
    case L'q': return L"((\"[^\"]*\")|('[^']*'))";
    case L'w': return L"([a-zA-Z]+)";
    case L'z': return L"([0-9]+)";
    default: return nullptr;
    }
}

class Parser {
public:
    Parser(const std::wstring& text, int& groups) : m_text(text), m_groups(groups) {}

    // Parses the whole text as alternatives of a non-capturing group.
    std::unique_ptr<Node> ParseAll() {
        auto group = std::make_unique<Node>(Node::Group);
        if (!ParseAlternatives(group->alternatives) || m_pos != m_text.size()) return nullptr;
        return group;
    }

private:
    bool ParseAlternatives(std::vector<Sequence>& alternatives) {
        for (;;) {
            alternatives.emplace_back();
            if (!ParseSequence(alternatives.back())) return false;
            if (m_pos < m_text.size() && m_text[m_pos] == L'|') {
                ++m_pos;
                continue;
            }
            return true;
        }
    }

    bool ParseSequence(Sequence& sequence) {
        while (m_pos < m_text.size()) {
            const wchar_t c = m_text[m_pos];
            if (c == L'|' || c == L')' || c == L'}') return true;
            std::unique_ptr<Node> atom = ParseAtom();
            if (!atom) return false;
            if (m_pos < m_text.size() &&
                (m_text[m_pos] == L'*' || m_text[m_pos] == L'+' || m_text[m_pos] == L'?')) {
                auto repeat = std::make_unique<Node>(Node::Repeat);
                const wchar_t q = m_text[m_pos++];
                repeat->min = q == L'+' ? 1 : 0;
                repeat->max = q == L'?' ? 1 : -1;
                if (m_pos < m_text.size() && m_text[m_pos] == L'?') {
                    repeat->greedy = false;
                    ++m_pos;
                }
                repeat->child = std::move(atom);
                atom = std::move(repeat);
            }
            sequence.push_back(std::move(atom));
        }
        return true;
    }

    std::unique_ptr<Node> ParseGroup(wchar_t close, int capture) {
        if (m_depth >= kMaxNesting) return nullptr;
        ++m_depth;
        auto group = std::make_unique<Node>(Node::Group);
        group->capture = capture;
        const bool ok = ParseAlternatives(group->alternatives);
        --m_depth;
        if (!ok || m_pos >= m_text.size() || m_text[m_pos] != close) return nullptr;
        ++m_pos;
        return group;
    }

    std::unique_ptr<Node> ParseAtom() {
        const wchar_t c = m_text[m_pos++];
        switch (c) {
        case L'{':
            return ParseGroup(L'}', m_groups++);
        case L'(':
            return ParseGroup(L')', -1);
        case L'[':
            return ParseSet();
        case L'.':
            return std::make_unique<Node>(Node::Any);
        case L'*': case L'+': case L'?': case L']':
            return nullptr;
        case L'\\': {
            if (m_pos >= m_text.size()) return nullptr;
            const wchar_t e = m_text[m_pos++];
            if (std::iswdigit(e)) return nullptr;
            if (const wchar_t* sub = Expansion(e)) {
                int noGroups = 0;
                Parser inner(sub, noGroups);
                return inner.ParseAll();
            }
            return Literal(e);
        }
        default:
            return Literal(c);
        }
    }

    static std::unique_ptr<Node> Literal(wchar_t c) {
        auto node = std::make_unique<Node>(Node::Char);
        node->ch = Lower(c);
        return node;
    }

    bool SetChar(wchar_t& c) {
        if (m_pos >= m_text.size()) return false;
        c = m_text[m_pos++];
        if (c == L'\\') {
            if (m_pos >= m_text.size()) return false;
            c = m_text[m_pos++];
            if (c == L't') c = L'\t';
        }
        return true;
    }

    std::unique_ptr<Node> ParseSet() {
        auto node = std::make_unique<Node>(Node::Set);
        if (m_pos < m_text.size() && m_text[m_pos] == L'^') {
            node->set.negated = true;
            ++m_pos;
        }
        for (;;) {
            if (m_pos >= m_text.size()) return nullptr;
            if (m_text[m_pos] == L']') {
                ++m_pos;
                return node;
            }
            wchar_t first;
            if (!SetChar(first)) return nullptr;
            wchar_t last = first;
            if (m_pos + 1 < m_text.size() && m_text[m_pos] == L'-' && m_text[m_pos + 1] != L']') {
                ++m_pos;
                if (!SetChar(last) || last < first) return nullptr;
            }
            node->set.ranges.emplace_back(first, last);
        }
    }

    const std::wstring m_text;
    size_t m_pos = 0;
    int m_depth = 0;
    int& m_groups;
};

// One step of the program. Every step takes the machine from one state (instruction, text
// position, flag) to the next; the flag tells whether the innermost repetition that is being
// watched for progress has consumed nothing so far in its current round. One flag is enough:
// while the innermost round is empty, the next Check reached without consuming text is its
// own, and consuming text makes every enclosing round non-empty as well.
struct Instruction {
    enum Op : uint8_t {
        Char,   // the character ch
        Any,    // any character
        Set,    // a character of sets[arg]
        Split,  // go on at arg, and if that fails at alt
        Jump,   // go on at arg
        Save,   // record the position as start (arg 0) or end (arg 1) of the first group
        Enter,  // a round of a watched repetition starts: set the flag
        Check,  // a round of a watched repetition ends: fail while the flag is set
        Match,  // the whole pattern matched
    } op;
    // Whether the flag belongs to the state here. Outside watched repetitions it does not
    // influence the outcome, and both flag values share one bit of the table.
    bool watched = false;
    wchar_t ch = 0;
    uint32_t arg = 0;
    uint32_t alt = 0;
};

// Whether a part can match without consuming text. A round of a repetition never may, so a
// repetition of at least one round never can.
bool CanBeEmpty(const Node& node) {
    switch (node.kind) {
    case Node::Char: case Node::Any: case Node::Set:
        return false;
    case Node::Repeat:
        return node.min == 0;
    case Node::Group:
        for (const Sequence& alternative : node.alternatives) {
            bool empty = true;
            for (const auto& part : alternative) empty = empty && CanBeEmpty(*part);
            if (empty) return true;
        }
        return false;
    }
    return false;
}

class Compiler {
public:
    std::vector<Instruction> program;
    std::vector<CharSet> sets;

    size_t Emit(Instruction::Op op, uint32_t arg = 0) {
        Instruction in;
        in.op = op;
        in.arg = arg;
        in.watched = m_watched > 0;
        program.push_back(in);
        return program.size() - 1;
    }

    void Compile(const Node& node) {
        switch (node.kind) {
        case Node::Char:
            program[Emit(Instruction::Char)].ch = node.ch;
            return;
        case Node::Any:
            Emit(Instruction::Any);
            return;
        case Node::Set:
            sets.push_back(node.set);
            Emit(Instruction::Set, static_cast<uint32_t>(sets.size() - 1));
            return;
        case Node::Group:
            CompileGroup(node);
            return;
        case Node::Repeat:
            CompileRepeat(node);
            return;
        }
    }

private:
    uint32_t Here() const { return static_cast<uint32_t>(program.size()); }

    void CompileGroup(const Node& node) {
        if (node.capture == 0) Emit(Instruction::Save, 0);
        // Alternatives are tried in order: each but the last is preceded by a split whose
        // second way leads to the next one, and ends with a jump behind the last one.
        std::vector<size_t> jumps;
        for (size_t i = 0; i < node.alternatives.size(); ++i) {
            const bool last = i + 1 == node.alternatives.size();
            size_t split = 0;
            if (!last) split = Emit(Instruction::Split, Here() + 1);
            for (const auto& part : node.alternatives[i]) Compile(*part);
            if (!last) {
                jumps.push_back(Emit(Instruction::Jump));
                program[split].alt = Here();
            }
        }
        for (size_t jump : jumps) program[jump].arg = Here();
        if (node.capture == 0) Emit(Instruction::Save, 1);
    }

    // A round that consumes nothing fails. Rounds of a part that always consumes need no
    // watching; others are bracketed by Enter and Check.
    void CompileRound(const Node& child) {
        const bool watch = CanBeEmpty(child);
        if (watch) {
            Emit(Instruction::Enter);
            ++m_watched;
        }
        Compile(child);
        if (watch) {
            Emit(Instruction::Check);
            --m_watched;
        }
    }

    void SetSplit(size_t split, uint32_t round, uint32_t out, bool greedy) {
        program[split].arg = greedy ? round : out;
        program[split].alt = greedy ? out : round;
    }

    void CompileRepeat(const Node& node) {
        if (node.max == 1) {  // ?: one round or none
            const size_t split = Emit(Instruction::Split);
            CompileRound(*node.child);
            SetSplit(split, static_cast<uint32_t>(split + 1), Here(), node.greedy);
        } else if (node.min == 0) {  // *: before every round, choose between it and leaving
            const size_t split = Emit(Instruction::Split);
            CompileRound(*node.child);
            Emit(Instruction::Jump, static_cast<uint32_t>(split));
            SetSplit(split, static_cast<uint32_t>(split + 1), Here(), node.greedy);
        } else {  // +: one round, then after every round the same choice
            const uint32_t round = Here();
            CompileRound(*node.child);
            const size_t split = Emit(Instruction::Split);
            SetSplit(split, round, Here(), node.greedy);
        }
    }

    int m_watched = 0;
};

constexpr uint32_t kUnset = UINT32_MAX;

class Machine {
public:
    enum Result { NoMatch, Matched, TooLarge };

    Machine(const std::vector<Instruction>& program, const std::vector<CharSet>& sets,
            const std::wstring& text)
        : m_program(program), m_sets(sets), m_text(text) {}

    // Lays out the table of tried states; false when it would be too large.
    bool Prepare() {
        m_slot.reserve(m_program.size());
        for (const Instruction& in : m_program) {
            m_slot.push_back(m_slotsPerPosition);
            m_slotsPerPosition += in.watched ? 2 : 1;
        }
        const size_t positions = m_text.size() + 1;
        if (m_slotsPerPosition > kMaxStateBits / positions) return false;
        m_tried.assign((m_slotsPerPosition * positions + 63) / 64, 0);
        return true;
    }

    // Tries to match at position at. On a match, end is where it ends and capture holds the
    // bounds of the first group (kUnset when the group took no part).
    Result Run(size_t at, size_t& end, uint32_t (&capture)[2]) {
        capture[0] = capture[1] = kUnset;
        m_stack.clear();
        m_stack.push_back({0, static_cast<uint32_t>(at)});
        while (!m_stack.empty()) {
            const Entry entry = m_stack.back();
            m_stack.pop_back();
            if (entry.code >= kRestore) {
                capture[entry.code - kRestore] = entry.pos;
                continue;
            }
            uint32_t pc = entry.code >> 1;
            uint32_t flag = entry.code & 1;
            uint32_t pos = entry.pos;
            for (;;) {
                if (!TryOnce(pc, pos, flag)) break;
                const Instruction& in = m_program[pc];
                bool alive = true;
                switch (in.op) {
                case Instruction::Char:
                case Instruction::Any:
                case Instruction::Set:
                    alive = pos < m_text.size() && Accepts(in, m_text[pos]);
                    ++pc;
                    ++pos;
                    flag = 0;
                    break;
                case Instruction::Split:
                    if (!Tried(in.alt, pos, flag)) {
                        if (m_stack.size() >= kMaxStackEntries) return TooLarge;
                        m_stack.push_back({(in.alt << 1) | flag, pos});
                    }
                    pc = in.arg;
                    break;
                case Instruction::Jump:
                    pc = in.arg;
                    break;
                case Instruction::Save:
                    if (m_stack.size() >= kMaxStackEntries) return TooLarge;
                    m_stack.push_back({kRestore + in.arg, capture[in.arg]});
                    capture[in.arg] = pos;
                    ++pc;
                    break;
                case Instruction::Enter:
                    flag = 1;
                    ++pc;
                    break;
                case Instruction::Check:
                    alive = flag == 0;
                    ++pc;
                    break;
                case Instruction::Match:
                    end = pos;
                    return Matched;
                }
                if (!alive) break;
            }
        }
        return NoMatch;
    }

    // Forgets the states tried at one position. After a match the states of its own path are
    // marked without having failed; only those at its end can be met again.
    void Forget(size_t pos) {
        const size_t first = pos * m_slotsPerPosition;
        for (size_t bit = first; bit < first + m_slotsPerPosition; ++bit)
            m_tried[bit / 64] &= ~(uint64_t(1) << (bit % 64));
    }

private:
    struct Entry {
        uint32_t code;  // instruction << 1 | flag, or kRestore + capture slot
        uint32_t pos;   // text position, or the capture bound to restore
    };
    static constexpr uint32_t kRestore = UINT32_MAX - 1;

    bool Accepts(const Instruction& in, wchar_t c) const {
        if (in.op == Instruction::Char) return c == in.ch;
        return in.op == Instruction::Any || m_sets[in.arg].Contains(c);
    }

    size_t Bit(uint32_t pc, uint32_t pos, uint32_t flag) const {
        return pos * m_slotsPerPosition + m_slot[pc] + (m_program[pc].watched ? flag : 0);
    }

    bool Tried(uint32_t pc, uint32_t pos, uint32_t flag) const {
        const size_t bit = Bit(pc, pos, flag);
        return (m_tried[bit / 64] >> (bit % 64)) & 1;
    }

    // Marks the state as tried; false when it was already.
    bool TryOnce(uint32_t pc, uint32_t pos, uint32_t flag) {
        const size_t bit = Bit(pc, pos, flag);
        uint64_t& word = m_tried[bit / 64];
        const uint64_t mask = uint64_t(1) << (bit % 64);
        if (word & mask) return false;
        word |= mask;
        return true;
    }

    const std::vector<Instruction>& m_program;
    const std::vector<CharSet>& m_sets;
    const std::wstring& m_text;
    std::vector<size_t> m_slot;  // first bit of each instruction within a position
    size_t m_slotsPerPosition = 0;
    std::vector<uint64_t> m_tried;
    std::vector<Entry> m_stack;
};

}  // namespace

bool ParseRegExp(const std::wstring& pattern, const std::wstring& text,
                 std::vector<std::wstring>& captures) {
    captures.clear();
    if (pattern.empty() || text.empty()) return false;
    int groups = 0;
    Parser parser(pattern, groups);
    const std::unique_ptr<Node> root = parser.ParseAll();
    if (!root) return false;
    Compiler compiler;
    compiler.Compile(*root);
    compiler.Emit(Instruction::Match);

    std::wstring lowered = text;
    for (wchar_t& c : lowered) c = Lower(c);
    Machine machine(compiler.program, compiler.sets, lowered);
    if (!machine.Prepare()) return false;

    std::unordered_set<std::wstring> seen;
    size_t start = 0;
    while (start <= lowered.size()) {
        size_t matchEnd = 0;
        uint32_t capture[2];
        Machine::Result result = Machine::NoMatch;
        size_t at = start;
        for (; at <= lowered.size(); ++at) {
            result = machine.Run(at, matchEnd, capture);
            if (result != Machine::NoMatch) break;
        }
        if (result == Machine::TooLarge) {
            captures.clear();
            return false;
        }
        if (result == Machine::NoMatch) break;
        if (capture[0] != kUnset) {
            const size_t length = capture[1] - capture[0];
            if (seen.insert(lowered.substr(capture[0], length)).second)
                captures.push_back(text.substr(capture[0], length));
        }
        // Go on right after the match; after an empty one, one character further.
        if (matchEnd > at) {
            machine.Forget(matchEnd);
            start = matchEnd;
        } else {
            start = at + 1;
        }
    }
    return true;
}
