#include "base/regex/regex_compiler.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "base/regex/case_folding.h"

namespace lumenta::regex {
namespace {

using Ranges = std::vector<std::pair<char16_t, char16_t>>;

constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max();

enum class Kind : uint8_t { kChar, kAny, kClass, kAssert, kGroup, kConcat, kAlternate, kRepeat };

// The syntax tree lives in one vector and refers to children by index, so it is freed without
// recursion however deep the pattern nests.
struct Node {
  explicit Node(Kind k) : kind(k) {}
  Kind kind;
  char16_t ch = 0;
  Assertion assertion = Assertion::kTextStart;
  uint32_t classIndex = 0;
  int group = -1;  // kGroup: capture index, or -1 for (?:...)
  uint32_t min = 0, max = 0;
  bool greedy = true;
  std::vector<uint32_t> children;
};

Ranges Complement(const Ranges& sorted) {
  Ranges out;
  unsigned next = 0;
  for (const auto& r : sorted) {
    if (r.first > next)
      out.emplace_back(static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1));
    next = static_cast<unsigned>(r.second) + 1;
  }
  if (next <= 0xFFFF) out.emplace_back(static_cast<char16_t>(next), char16_t{0xFFFF});
  return out;
}

const Ranges& DigitRanges() {
  static const Ranges r = {{u'0', u'9'}};
  return r;
}
const Ranges& WordRanges() {
  static const Ranges r = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
  return r;
}
// White space and line terminators.
const Ranges& SpaceRanges() {
  static const Ranges r = {{0x0009, 0x000D}, {0x0020, 0x0020}, {0x00A0, 0x00A0}, {0x1680, 0x1680},
                           {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F},
                           {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
  return r;
}

bool InRanges(const Ranges& ranges, char16_t c) {
  for (const auto& r : ranges) {
    if (c >= r.first && c <= r.second) return true;
  }
  return false;
}

// Adds to `ranges` every character that folds like one already in it, so that the class,
// tested with the input character as it is, matches without regard to case.
void CloseUnderCase(Ranges& ranges) {
  char16_t highest = 0;
  for (const auto& r : ranges) highest = std::max(highest, r.second);
  if (highest < 128) {
    // ASCII letters fold only onto ASCII letters.
    Ranges added;
    for (const auto& r : ranges) {
      for (unsigned c = r.first; c <= r.second; ++c) {
        if (c >= 'a' && c <= 'z') added.emplace_back(c - 0x20, c - 0x20);
        if (c >= 'A' && c <= 'Z') added.emplace_back(c + 0x20, c + 0x20);
      }
    }
    ranges.insert(ranges.end(), added.begin(), added.end());
    return;
  }
  // The folds whose group has a member in the set, then every member of those groups.
  std::array<uint64_t, 0x10000 / 64> folds{};
  bool any = false;
  for (const auto& [c, f] : FoldPairs()) {
    if (InRanges(ranges, c) || InRanges(ranges, f)) {
      folds[f >> 6] |= uint64_t{1} << (f & 63);
      any = true;
    }
  }
  if (!any) return;
  Ranges added;
  for (const auto& [c, f] : FoldPairs()) {
    if ((folds[f >> 6] >> (f & 63)) & 1) {
      added.emplace_back(c, c);
      added.emplace_back(f, f);
    }
  }
  ranges.insert(ranges.end(), added.begin(), added.end());
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsOctal(char16_t c) { return c >= u'0' && c <= u'7'; }
int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Number of capturing groups in the whole pattern: a "\2" is a back-reference when the pattern
// has at least two groups, wherever they stand.
int CountGroups(std::u16string_view p) {
  int count = 0;
  bool inClass = false;
  for (size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      if (c == u']') inClass = false;
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
      ++count;
    }
  }
  return count;
}

// One escape after a backslash: a single character, a set (\d \w \s and their negations), or
// a word-boundary assertion (outside classes only).
struct Escape {
  enum Type { kCharacter, kSet, kBoundary, kNotBoundary, kInvalid } type = kInvalid;
  char16_t ch = 0;
  Ranges set;
};

class Parser {
 public:
  Parser(std::u16string_view pattern, CompileOptions options)
      : p_(pattern), options_(options), totalGroups_(CountGroups(pattern)) {}

  bool Parse(uint32_t& root) {
    if (!ParseDisjunction(0, root)) return false;
    return pos_ == p_.size();  // a ")" without its "(" stops the disjunction early
  }

  std::vector<Node> nodes;
  std::vector<CharClass> classes;
  int groupCount = 0;

 private:
  bool AtEnd() const { return pos_ >= p_.size(); }
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : char16_t{0};
  }

  uint32_t Add(Node node) {
    nodes.push_back(std::move(node));
    return static_cast<uint32_t>(nodes.size() - 1);
  }
  uint32_t AddChar(char16_t c) {
    Node n(Kind::kChar);
    n.ch = options_.ignoreCase ? FoldCase(c) : c;
    return Add(std::move(n));
  }
  uint32_t AddClass(Ranges ranges, bool negated) {
    if (options_.ignoreCase) CloseUnderCase(ranges);
    classes.emplace_back(std::move(ranges), negated);
    Node n(Kind::kClass);
    n.classIndex = static_cast<uint32_t>(classes.size() - 1);
    return Add(std::move(n));
  }

  bool ParseDisjunction(int depth, uint32_t& out) {
    std::vector<uint32_t> alternatives;
    for (;;) {
      uint32_t alternative;
      if (!ParseAlternative(depth, alternative)) return false;
      alternatives.push_back(alternative);
      if (AtEnd() || Peek() != u'|') break;
      ++pos_;
    }
    if (alternatives.size() == 1) {
      out = alternatives[0];
    } else {
      Node n(Kind::kAlternate);
      n.children = std::move(alternatives);
      out = Add(std::move(n));
    }
    return true;
  }

  bool ParseAlternative(int depth, uint32_t& out) {
    Node sequence(Kind::kConcat);
    while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
      uint32_t term;
      if (!ParseTerm(depth, term)) return false;
      sequence.children.push_back(term);
    }
    out = Add(std::move(sequence));
    return true;
  }

  // A quantifier at the current position: *, +, ?, {n}, {n,} or {n,m}. Consumes it only when
  // it is one; "{" that starts none is an ordinary character.
  bool ReadQuantifier(uint32_t& min, uint32_t& max) {
    const char16_t c = Peek();
    if (AtEnd()) return false;
    if (c == u'*' || c == u'+' || c == u'?') {
      min = c == u'+' ? 1 : 0;
      max = c == u'?' ? 1 : kInfinite;
      ++pos_;
      return true;
    }
    if (c != u'{') return false;
    size_t i = pos_ + 1;
    auto number = [&](uint32_t& value) {
      const size_t from = i;
      uint64_t v = 0;
      while (i < p_.size() && IsDigit(p_[i])) {
        v = v * 10 + (p_[i] - u'0');
        if (v > kInfinite - 1) v = kInfinite - 1;  // far beyond any program we accept
        ++i;
      }
      value = static_cast<uint32_t>(v);
      return i > from;
    };
    uint32_t lo, hi;
    if (!number(lo)) return false;
    hi = lo;
    if (i < p_.size() && p_[i] == u',') {
      ++i;
      if (!number(hi)) hi = kInfinite;
    }
    if (i >= p_.size() || p_[i] != u'}') return false;
    pos_ = i + 1;
    min = lo;
    max = hi;
    return true;
  }

  bool ParseTerm(int depth, uint32_t& out) {
    const char16_t c = Peek();
    bool assertion = false;
    switch (c) {
      case u'^':
      case u'$': {
        ++pos_;
        Node n(Kind::kAssert);
        if (c == u'^') {
          n.assertion = options_.multiline ? Assertion::kLineStart : Assertion::kTextStart;
        } else {
          n.assertion = options_.multiline ? Assertion::kLineEnd : Assertion::kTextEnd;
        }
        out = Add(std::move(n));
        assertion = true;
        break;
      }
      case u'\\': {
        ++pos_;
        const Escape e = ReadEscape(false);
        if (e.type == Escape::kInvalid) return false;
        if (e.type == Escape::kBoundary || e.type == Escape::kNotBoundary) {
          Node n(Kind::kAssert);
          n.assertion =
              e.type == Escape::kBoundary ? Assertion::kWordBoundary : Assertion::kNotWordBoundary;
          out = Add(std::move(n));
          assertion = true;
        } else if (e.type == Escape::kSet) {
          out = AddClass(e.set, false);
        } else {
          out = AddChar(e.ch);
        }
        break;
      }
      case u'(':
        if (!ParseGroup(depth, out)) return false;
        break;
      case u'[':
        ++pos_;
        if (!ParseClass(out)) return false;
        break;
      case u'.':
        ++pos_;
        out = Add(Node(Kind::kAny));
        break;
      case u'*':
      case u'+':
      case u'?':
        return false;  // nothing to repeat
      case u'{': {
        uint32_t lo, hi;
        const size_t at = pos_;
        if (ReadQuantifier(lo, hi)) return false;  // a quantifier with nothing to repeat
        pos_ = at + 1;
        out = AddChar(u'{');
        break;
      }
      default:
        ++pos_;
        out = AddChar(c);
        break;
    }
    uint32_t min, max;
    if (!ReadQuantifier(min, max)) return true;
    if (assertion) return false;  // an assertion cannot be repeated
    if (min > max) return false;
    bool greedy = true;
    if (!AtEnd() && Peek() == u'?') {
      greedy = false;
      ++pos_;
    }
    Node n(Kind::kRepeat);
    n.min = min;
    n.max = max;
    n.greedy = greedy;
    n.children.push_back(out);
    out = Add(std::move(n));
    return true;
  }

  bool ParseGroup(int depth, uint32_t& out) {
    if (depth + 1 > kMaxNesting) return false;
    ++pos_;  // "("
    int group = -1;
    if (Peek() == u'?') {
      if (Peek(1) != u':') return false;  // look-ahead and other extensions are not supported
      pos_ += 2;
    } else {
      group = ++groupCount;
    }
    uint32_t inner;
    if (!ParseDisjunction(depth + 1, inner)) return false;
    if (AtEnd() || Peek() != u')') return false;  // unclosed group
    ++pos_;
    Node n(Kind::kGroup);
    n.group = group;
    n.children.push_back(inner);
    out = Add(std::move(n));
    return true;
  }

  bool ParseClass(uint32_t& out) {
    bool negated = false;
    if (Peek() == u'^' && !AtEnd()) {
      negated = true;
      ++pos_;
    }
    Ranges ranges;
    auto add = [&](const Escape& e) {
      if (e.type == Escape::kSet) {
        ranges.insert(ranges.end(), e.set.begin(), e.set.end());
      } else {
        ranges.emplace_back(e.ch, e.ch);
      }
    };
    for (;;) {
      if (AtEnd()) return false;  // unclosed class
      if (Peek() == u']') {
        ++pos_;
        break;
      }
      Escape from;
      if (!ReadClassAtom(from)) return false;
      if (Peek() == u'-' && pos_ + 1 < p_.size() && p_[pos_ + 1] != u']') {
        ++pos_;
        Escape to;
        if (!ReadClassAtom(to)) return false;
        if (from.type == Escape::kSet || to.type == Escape::kSet) {
          // A set cannot bound a range: the hyphen stands for itself.
          add(from);
          ranges.emplace_back(u'-', u'-');
          add(to);
        } else if (from.ch > to.ch) {
          return false;  // range out of order
        } else {
          ranges.emplace_back(from.ch, to.ch);
        }
      } else {
        add(from);
      }
    }
    out = AddClass(std::move(ranges), negated);
    return true;
  }

  bool ReadClassAtom(Escape& atom) {
    if (AtEnd()) return false;
    const char16_t c = p_[pos_++];
    if (c != u'\\') {
      atom.type = Escape::kCharacter;
      atom.ch = c;
      return true;
    }
    atom = ReadEscape(true);
    return atom.type == Escape::kCharacter || atom.type == Escape::kSet;
  }

  // Reads the escape after a backslash (already consumed).
  Escape ReadEscape(bool inClass) {
    Escape e;
    if (AtEnd()) return e;  // a pattern may not end in a backslash
    const char16_t c = p_[pos_++];
    auto set = [&](const Ranges& ranges, bool negated) {
      e.type = Escape::kSet;
      e.set = negated ? Complement(ranges) : ranges;
      return e;
    };
    auto character = [&](char16_t ch) {
      e.type = Escape::kCharacter;
      e.ch = ch;
      return e;
    };
    switch (c) {
      case u'd':
        return set(DigitRanges(), false);
      case u'D':
        return set(DigitRanges(), true);
      case u'w':
        return set(WordRanges(), false);
      case u'W':
        return set(WordRanges(), true);
      case u's':
        return set(SpaceRanges(), false);
      case u'S':
        return set(SpaceRanges(), true);
      case u'b':
        if (inClass) return character(u'\b');
        e.type = Escape::kBoundary;
        return e;
      case u'B':
        if (inClass) return character(u'B');
        e.type = Escape::kNotBoundary;
        return e;
      case u'n':
        return character(u'\n');
      case u'r':
        return character(u'\r');
      case u't':
        return character(u'\t');
      case u'f':
        return character(u'\f');
      case u'v':
        return character(u'\v');
      case u'x':
        if (HexValue(Peek()) >= 0 && HexValue(Peek(1)) >= 0 && pos_ + 1 < p_.size()) {
          const int v = HexValue(Peek()) * 16 + HexValue(Peek(1));
          pos_ += 2;
          return character(static_cast<char16_t>(v));
        }
        return character(u'x');
      case u'u': {
        if (pos_ + 3 < p_.size()) {
          int v = 0;
          bool ok = true;
          for (size_t k = 0; k < 4 && ok; ++k) {
            const int h = HexValue(p_[pos_ + k]);
            ok = h >= 0;
            v = v * 16 + h;
          }
          if (ok) {
            pos_ += 4;
            return character(static_cast<char16_t>(v));
          }
        }
        return character(u'u');
      }
      case u'c': {
        const char16_t next = Peek();
        if (!AtEnd() && (IsAsciiLetter(next) || (inClass && (IsDigit(next) || next == u'_')))) {
          ++pos_;
          return character(static_cast<char16_t>(next % 32));
        }
        // Not a control escape: the backslash stands for itself and "c" is read next.
        --pos_;
        return character(u'\\');
      }
      default:
        break;
    }
    if (IsDigit(c)) {
      if (!inClass && c != u'0') {
        // A decimal escape naming an existing group is a back-reference.
        size_t i = pos_ - 1;
        uint64_t number = 0;
        while (i < p_.size() && IsDigit(p_[i]) && number <= 1000)
          number = number * 10 + (p_[i++] - u'0');
        if (number <= static_cast<uint64_t>(totalGroups_)) return e;  // not supported
      }
      if (c == u'8' || c == u'9') return character(c);
      // An octal escape of up to three digits, at most \377.
      unsigned value = c - u'0';
      if (IsOctal(Peek()) && !AtEnd()) {
        value = value * 8 + (Peek() - u'0');
        ++pos_;
        if (c <= u'3' && IsOctal(Peek()) && !AtEnd()) {
          value = value * 8 + (Peek() - u'0');
          ++pos_;
        }
      }
      return character(static_cast<char16_t>(value));
    }
    return character(c);  // any other character stands for itself
  }

  std::u16string_view p_;
  size_t pos_ = 0;
  CompileOptions options_;
  int totalGroups_;
};

class Emitter {
 public:
  Emitter(Program& program, const std::vector<Node>& nodes) : program_(program), nodes_(nodes) {}

  bool Run(uint32_t root) {
    Save(0);
    EmitNode(root);
    Save(1);
    Add(Inst::Of(Op::kMatch));
    return !overflow_;
  }

 private:
  uint32_t Pc() const { return static_cast<uint32_t>(program_.code.size()); }

  uint32_t Add(Inst inst) {
    if (program_.code.size() >= kMaxInstructions) {
      overflow_ = true;
      return 0;
    }
    program_.code.push_back(inst);
    return Pc() - 1;
  }
  void Save(uint32_t slot) { Add(Inst::Of(Op::kSave, slot)); }
  void Patch(uint32_t at, uint32_t x, uint32_t y) {
    if (overflow_) return;
    program_.code[at].x = x;
    program_.code[at].y = y;
  }

  void EmitNode(uint32_t id) {
    if (overflow_) return;
    const Node& n = nodes_[id];
    switch (n.kind) {
      case Kind::kChar: {
        Inst inst = Inst::Of(Op::kChar);
        inst.ch = n.ch;
        Add(inst);
        break;
      }
      case Kind::kAny:
        Add(Inst::Of(Op::kAny));
        break;
      case Kind::kClass:
        Add(Inst::Of(Op::kClass, n.classIndex));
        break;
      case Kind::kAssert: {
        Inst inst = Inst::Of(Op::kAssert);
        inst.assertion = n.assertion;
        Add(inst);
        break;
      }
      case Kind::kGroup:
        if (n.group >= 0) Save(2 * static_cast<uint32_t>(n.group));
        EmitNode(n.children[0]);
        if (n.group >= 0) Save(2 * static_cast<uint32_t>(n.group) + 1);
        break;
      case Kind::kConcat:
        for (uint32_t child : n.children) EmitNode(child);
        break;
      case Kind::kAlternate: {
        std::vector<uint32_t> jumps;
        for (size_t i = 0; i + 1 < n.children.size() && !overflow_; ++i) {
          const uint32_t split = Add(Inst::Of(Op::kSplit));
          EmitNode(n.children[i]);
          jumps.push_back(Add(Inst::Of(Op::kJump)));
          Patch(split, split + 1, Pc());
        }
        EmitNode(n.children.back());
        for (uint32_t jump : jumps) Patch(jump, Pc(), 0);
        break;
      }
      case Kind::kRepeat:
        EmitRepeat(n);
        break;
    }
  }

  void EmitRepeat(const Node& n) {
    const uint32_t child = n.children[0];
    // x{n,} with n >= 1 is n-1 copies, then the last copy looping back to itself:
    // L: x; Split(L, exit). Fewer instructions to follow at every step than x; x*.
    const bool loopLast = n.max == kInfinite && n.min >= 1;
    const uint32_t copies = loopLast ? n.min - 1 : n.min;
    for (uint32_t i = 0; i < copies && !overflow_; ++i) {
      const uint32_t before = Pc();
      EmitNode(child);
      if (Pc() == before) return;  // an empty expression repeated is still empty
    }
    if (loopLast) {
      const uint32_t loop = Pc();
      EmitNode(child);
      if (Pc() == loop) return;
      const uint32_t split = Add(Inst::Of(Op::kSplit));
      if (n.greedy) {
        Patch(split, loop, split + 1);
      } else {
        Patch(split, split + 1, loop);
      }
      return;
    }
    if (n.max == kInfinite) {
      const uint32_t loop = Add(Inst::Of(Op::kSplit));
      EmitNode(child);
      Add(Inst::Of(Op::kJump, loop));
      const uint32_t exit = Pc();
      if (n.greedy) {
        Patch(loop, loop + 1, exit);
      } else {
        Patch(loop, exit, loop + 1);
      }
      return;
    }
    // n.max - n.min optional copies, each one entered only after the one before it.
    std::vector<uint32_t> splits;
    for (uint32_t i = n.min; i < n.max && !overflow_; ++i) {
      splits.push_back(Add(Inst::Of(Op::kSplit)));
      const uint32_t before = Pc();
      EmitNode(child);
      if (Pc() == before) break;
    }
    const uint32_t exit = Pc();
    for (uint32_t split : splits) {
      if (n.greedy) {
        Patch(split, split + 1, exit);
      } else {
        Patch(split, exit, split + 1);
      }
    }
  }

  Program& program_;
  const std::vector<Node>& nodes_;
  bool overflow_ = false;
};

// The characters that can begin a match: every consuming instruction reachable from the start
// without consuming. Assertions are taken as passable, which only makes the set larger.
FirstCharacters AnalyseFirstCharacters(const Program& program) {
  FirstCharacters first;
  std::vector<bool> seen(program.code.size(), false);
  std::vector<uint32_t> stack{0};
  auto setAscii = [&](unsigned c) { first.ascii[c >> 6] |= uint64_t{1} << (c & 63); };
  while (!stack.empty()) {
    const uint32_t pc = stack.back();
    stack.pop_back();
    if (seen[pc]) continue;
    seen[pc] = true;
    const Inst& inst = program.code[pc];
    switch (inst.op) {
      case Op::kMatch:
        return FirstCharacters{};  // an empty match is possible
      case Op::kSplit:
        stack.push_back(inst.y);
        stack.push_back(inst.x);
        break;
      case Op::kJump:
        stack.push_back(inst.x);
        break;
      case Op::kSave:
      case Op::kAssert:
        stack.push_back(pc + 1);
        break;
      case Op::kChar:
        if (inst.ch >= 128) {
          first.wide = true;
        } else {
          setAscii(inst.ch);
          if (program.ignoreCase && inst.ch >= u'a' && inst.ch <= u'z') setAscii(inst.ch - 0x20);
        }
        break;
      case Op::kAny:
        for (unsigned c = 0; c < 128; ++c) {
          if (!IsLineTerminator(static_cast<char16_t>(c))) setAscii(c);
        }
        first.wide = true;
        break;
      case Op::kClass: {
        const CharClass& cls = program.classes[inst.x];
        for (unsigned c = 0; c < 128; ++c) {
          if (cls.Contains(static_cast<char16_t>(c))) setAscii(c);
        }
        first.wide |= cls.HasWide();
        break;
      }
    }
  }
  first.useful = true;
  return first;
}

}  // namespace

std::optional<Program> Compile(std::u16string_view pattern, CompileOptions options) {
  Parser parser(pattern, options);
  uint32_t root;
  if (!parser.Parse(root)) return std::nullopt;
  Program program;
  program.groupCount = parser.groupCount;
  program.ignoreCase = options.ignoreCase;
  program.classes = std::move(parser.classes);
  Emitter emitter(program, parser.nodes);
  if (!emitter.Run(root)) return std::nullopt;
  program.first = AnalyseFirstCharacters(program);
  return program;
}

}  // namespace lumenta::regex
