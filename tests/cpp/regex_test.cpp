// The pattern layer: the Rust syntax it reads, the Rust iteration rule, the
// replacement templates, escaping, and the two engine roles' failure rules.
#include "text/regex.hpp"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/panic.hpp"
#include "text/pattern_translation.hpp"
#include "text/unicode.hpp"

namespace {

using vyr::text::Captures;
using vyr::text::Engine;
using vyr::text::Regex;

using Span = std::pair<size_t, size_t>;

std::vector<Span> spans(const Regex& re, std::string_view text) {
  std::vector<Span> out;
  re.for_each(text, [&](const Captures& m) { out.emplace_back(m.start(0), m.end(0)); });
  return out;
}

// ---------------------------------------------------------------------------
// Syntax: each case is a pattern and the texts it must / must not match in
// full. Texts are kept to Unicode 14 characters.

struct SyntaxCase {
  const char* pattern;
  Engine engine;
  std::vector<const char*> matches;
  std::vector<const char*> rejects;
};

void PrintTo(const SyntaxCase& c, std::ostream* os) { *os << c.pattern; }

std::string anchored(const char* pattern) { return std::string("^(?:") + pattern + ")$"; }

class SyntaxTest : public testing::TestWithParam<SyntaxCase> {};

TEST_P(SyntaxTest, MatchesWholeTexts) {
  const SyntaxCase& c = GetParam();
  Regex re(anchored(c.pattern), c.engine);
  for (const char* t : c.matches) EXPECT_TRUE(re.is_match(t)) << c.pattern << " on " << t;
  for (const char* t : c.rejects) EXPECT_FALSE(re.is_match(t)) << c.pattern << " on " << t;
}

const SyntaxCase kSyntaxCases[] = {
    // \w: Alphabetic, marks, Nd, Pc, joiners; not No (², ①) nor symbols.
    {R"(\w)",
     Engine::kLinear,
     {"a", "é", "Đ", "\u0301", "\u0663", "\uFF11", "_", "\u203F", "\u200D", "\u2160"},
     {"\u00B2", "\u2460", "\u20AC", "-", " ", "\u00A0"}},
    {R"(\W)", Engine::kLinear, {"\u00B2", "\u2460", "-", " "}, {"a", "\u0301", "\u0663"}},
    // \d: any Nd digit, never No.
    {R"(\d)", Engine::kLinear, {"7", "\u0663", "\u0967", "\uFF19"},
     {"\u00B2", "\u2460", "\u2160", "a"}},
    {R"(\D)", Engine::kLinear, {"a", "\u00B2"}, {"7", "\u0663"}},
    // \s: exactly White_Space; U+180E, U+200B and U+001F are not.
    {R"(\s)", Engine::kLinear,
     {" ", "\t", "\n", "\v", "\f", "\r", "\u0085", "\u00A0", "\u1680", "\u2000", "\u200A", "\u2028",
      "\u2029", "\u202F", "\u205F", "\u3000"},
     {"\u180E", "\u200B", "\x1F", "a"}},
    {R"(\S)", Engine::kLinear, {"\u180E", "\u200B", "a"}, {" ", "\u00A0", "\u3000"}},
    // The same classes inside brackets, negated and not.
    {R"([\s\d])", Engine::kLinear, {" ", "\u3000", "\u0663"}, {"\u180E", "a"}},
    {R"([^\w\s])", Engine::kLinear, {"\u00B2", "-", "\u20AC"}, {"a", "\u0301", " ", "\u00A0"}},
    {R"([\S])", Engine::kLinear, {"a", "\u180E"}, {" ", "\u2028"}},
    // \W inside a class is a union PCRE2 cannot negate in one class.
    {R"([a\W])", Engine::kLinear, {"a", "-", " ", "\u00B2"}, {"b", "\u0301"}},
    {R"([^a\W])", Engine::kLinear, {"b", "\u0301", "\u0663"}, {"a", "-", " "}},
    {R"([\W])", Engine::kLinear, {"-"}, {"a"}},
    {R"([^\W])", Engine::kLinear, {"a"}, {"-"}},
    // Escapes of code points, in and out of classes.
    {R"(\u2013\u{2014}\x{2015}\xA0)", Engine::kLinear, {"\u2013\u2014\u2015\u00A0"}, {}},
    {R"([\u2013\x{2014}])", Engine::kLinear, {"\u2013", "\u2014"}, {"-"}},
    {R"(\v)", Engine::kLinear, {"\v"}, {"\n", "\r", "\u2028"}},
    {R"(\t\n\r\f)", Engine::kLinear, {"\t\n\r\f"}, {}},
    // A backslash before any ASCII punctuation is that character.
    {R"(\'\-\#\&\~\"\@\%\=\ )", Engine::kLinear, {"'-#&~\"@%= "}, {}},
    {R"([\<\>])", Engine::kLinear, {"<", ">"}, {}},
    {R"([\'\-\\\[\]])", Engine::kLinear, {"'", "-", "\\", "[", "]"}, {"a"}},
    // Class members that are PCRE2 syntax but Rust literals.
    {R"([#$&~])", Engine::kLinear, {"#", "$", "&", "~"}, {"a"}},
    {R"([-a])", Engine::kLinear, {"-", "a"}, {"b"}},
    {R"([a-])", Engine::kLinear, {"-", "a"}, {"b"}},
    {R"([]a])", Engine::kLinear, {"]", "a"}, {"b"}},
    {R"([–\-—])", Engine::kLinear, {"\u2013", "-", "\u2014"}, {"\u2012"}},
    // Scripts by Script, not Script_Extensions: U+0342 is Inherited.
    {R"(\p{Greek})", Engine::kLinear, {"\u03B1", "\u03A9"}, {"\u0342", "a"}},
    {R"(\p{L}\pN)", Engine::kLinear, {"a1", "\u03B1\u00B2"}, {"11"}},
    {R"(\P{Nd})", Engine::kLinear, {"a"}, {"1"}},
    // Case-insensitive matching by simple folding, classes too.
    {R"((?i)µ)", Engine::kLinear, {"\u00B5", "\u03BC", "\u039C"}, {"m"}},
    {R"((?i)k)", Engine::kLinear, {"k", "K", "\u212A"}, {}},
    {R"((?i)[s])", Engine::kLinear, {"s", "S", "\u017F"}, {}},
    {R"((?i)đ)", Engine::kLinear, {"đ", "Đ"}, {"d"}},
    // '.' is anything but a line feed; (?s) takes it too.
    {R"(.)", Engine::kLinear, {"a", "\r", "\u2028", "\u0085"}, {"\n"}},
    {R"((?s).)", Engine::kLinear, {"\n"}, {}},
    // Named groups in both spellings.
    {R"((?P<a>x)(?<b>y))", Engine::kLinear, {"xy"}, {}},
    // Verbose mode: space, tab, CR, LF are layout; '#' comments; inside a
    // class everything, '#' and space included, is a member.
    {"(?x) a \t b\r\n c # comment\n d", Engine::kBacktracking, {"abcd"}, {"a b c d"}},
    {"(?x)[ #]", Engine::kBacktracking, {" ", "#"}, {"a"}},
    {"(?x)a\\ b\\#", Engine::kBacktracking, {"a b#"}, {"ab"}},
    {"(?x)a\u00A0b", Engine::kBacktracking, {"a\u00A0b"}, {"ab"}},
    {"(?x:a b)c d", Engine::kBacktracking, {"abc d"}, {"abcd"}},
    {"(?ix) A B", Engine::kBacktracking, {"ab", "AB"}, {"a b"}},
    // Look-around and atomic groups in the backtracking role.
    {R"((?<![\d.])\d+(?!\d))", Engine::kBacktracking, {"12"}, {}},
    {R"((?>a+)b)", Engine::kBacktracking, {"aab"}, {}},
};

INSTANTIATE_TEST_SUITE_P(RustSyntax, SyntaxTest, testing::ValuesIn(kSyntaxCases));

// \w, \s and \d against their Unicode definitions, code point by code
// point (those assigned by Unicode 14, the version of PCRE2's tables).
bool rust_word_char(char32_t c) {
  const int8_t gc = u_charType(static_cast<UChar32>(c));
  return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC) ||
         gc == U_NON_SPACING_MARK || gc == U_ENCLOSING_MARK || gc == U_COMBINING_SPACING_MARK ||
         gc == U_DECIMAL_DIGIT_NUMBER || gc == U_CONNECTOR_PUNCTUATION ||
         u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_JOIN_CONTROL);
}

TEST(Regex, ClassesAgreeWithTheirUnicodeDefinitions) {
  const Regex word(R"(\w)", Engine::kLinear);
  const Regex space(R"(\s)", Engine::kLinear);
  const Regex digit(R"(\d)", Engine::kLinear);
  size_t disagreements = 0;
  std::string one;
  for (char32_t c = 0; c <= 0x10FFFF && disagreements < 10; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    UVersionInfo age;
    u_charAge(static_cast<UChar32>(c), age);
    if (age[0] == 0 || age[0] > 14) continue;  // unassigned, or newer than PCRE2's tables
    one.clear();
    vyr::text::append_utf8(one, c);
    const bool w = word.is_match(one), s = space.is_match(one), d = digit.is_match(one);
    const bool rust_d = u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
    if (w != rust_word_char(c) || s != vyr::text::is_white_space(c) || d != rust_d) {
      ++disagreements;
      ADD_FAILURE() << "U+" << std::hex << static_cast<uint32_t>(c) << ": \\w " << w << " \\s "
                    << s << " \\d " << d;
    }
  }
}

// Anchors and word boundaries are about positions, so they get their own
// table: every position (as a match span) the pattern finds in the text.
struct PositionCase {
  const char* pattern;
  const char* text;
  std::vector<Span> expected;
};

void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.pattern << " on " << c.text; }

class PositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(PositionTest, FindsExactlyThesePositions) {
  const PositionCase& c = GetParam();
  Regex re(c.pattern, Engine::kBacktracking);
  EXPECT_EQ(spans(re, c.text), c.expected) << c.pattern << " on \"" << c.text << "\"";
}

const PositionCase kPositionCases[] = {
    // $ is the very end only, never before a final line feed.
    {"a$", "a\n", {}},
    {"a$", "ba", {{1, 2}}},
    {"(?m)a$", "a\na", {{0, 1}, {2, 3}}},
    // (?m)^ also matches after a final line feed.
    {"(?m)^", "a\n", {{0, 0}, {2, 2}}},
    {"^", "a\n", {{0, 0}}},
    // \b on Unicode words: "x²" has a boundary between x and ²; a combining
    // mark and a non-Latin digit continue a word.
    {R"(\b)", "x\u00B2", {{0, 0}, {1, 1}}},
    {R"(\b)", "e\u0301 \u0663", {{0, 0}, {3, 3}, {4, 4}, {6, 6}}},
    {R"(\B)", "ab", {{1, 1}}},
    {R"(\B)", "", {{0, 0}}},
    {R"(\b\w+\b)", "trong 5\u2013\u0661\u0662", {{0, 5}, {6, 7}, {10, 14}}},
};

INSTANTIATE_TEST_SUITE_P(Anchors, PositionTest, testing::ValuesIn(kPositionCases));

// Next to a character proven to be a word character, \b and \B look at the
// other side only, and a pattern PCRE2 cannot skip ahead for gets a
// look-ahead for the characters its matches start with. Each case is a place
// where a wrong proof would change the result.
const PositionCase kShortcutCases[] = {
    // Optional or non-word items prove nothing before the boundary.
    {R"(a?\bb)", "ab b", {{3, 4}}},
    {R"(a?\b-)", "a- -", {{0, 2}}},
    {R"(a{0,2}\b-)", "-", {}},
    {R"([a.]\b)", ".a", {{0, 1}, {1, 2}}},
    {R"((?:a|-)\b-)", "--", {}},
    // A repeated group's later rounds start after its own end, not after "a".
    {R"(a(?:\b-)+)", "a--", {{0, 2}}},
    // A look-ahead starts where it stands; a look-behind ending in a word
    // character proves one.
    {R"(a(?=\b-))", "a-", {{0, 1}}},
    {R"(-(?=\b-))", "--", {}},
    {R"((?<=a)\b-)", "a-", {{1, 2}}},
    // After the boundary: every alternative must start with a word character,
    // and a quantifier must not allow zero.
    {R"(\b(?:a|-))", "-a -", {{1, 2}}},
    {R"(\ba*-)", "b-", {{1, 2}}},
    {R"(\b(?!x)a)", "ba a", {{3, 4}}},
    {R"(\b(?=[IVX])\w)", "aI I", {{3, 4}}},
    {"(?x) \\b # layout and a comment\n a", "ba a", {{3, 4}}},
    // Under (?i) the Kelvin sign is a k, and a word character.
    {R"((?i)\bk)", "xK \u212A", {{3, 6}}},
    {R"(a\B)", "ab a", {{0, 1}}},
    {R"(\Ba)", "ba a", {{1, 2}}},
    {R"(\B-)", "a- --", {{3, 4}, {4, 5}}},
    // A boundary every top-level alternative starts with is tested once.
    {R"(\bab\b|\bcd\b|\bc)", "ab cd xab abc cx", {{0, 2}, {3, 5}, {14, 15}}},
    {R"(\ba|x|\bb)", "ba xb", {{0, 1}, {3, 4}}},
    // Start characters: non-ASCII digits and case variants stay possible; a
    // negated class keeps the other case of what it excludes.
    {R"(\d+|x)", "\u0663 x 5", {{0, 2}, {3, 4}, {5, 6}}},
    {R"(\d)", "\u0660\u00E9\U0001D7CE", {{0, 2}, {4, 8}}},
    {R"((?i)s\d)", "\u017F1", {{0, 3}}},
    {R"((?i)[k]\d)", "\u212A1 k2 K3", {{0, 4}, {5, 7}, {8, 10}}},
    {R"([^a]\d)", "A1", {{0, 2}}},
    {R"((?=[x\d])\w+)", "\u0663a x", {{0, 3}, {4, 5}}},
};

INSTANTIATE_TEST_SUITE_P(Shortcuts, PositionTest, testing::ValuesIn(kShortcutCases));

TEST(Regex, BoundariesBesideLiteralWordsAreOneLookAround) {
  const std::string w = R"([\p{Alphabetic}\p{M}\p{Nd}\p{Pc}\x{200C}\x{200D}])";
  EXPECT_EQ(vyr::text::to_pcre2(R"(\bUBND\b)", false), "(?<!" + w + ")UBND(?!" + w + ")");
}

// ---------------------------------------------------------------------------
// Refused at construction: syntax no pattern of this system uses, and what
// would change meaning silently.

struct RefusedCase {
  const char* pattern;
  Engine engine;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.pattern; }

class RefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, ThrowsPanic) {
  EXPECT_THROW(Regex(GetParam().pattern, GetParam().engine), vyr::Panic) << GetParam().pattern;
}

const RefusedCase kRefusedCases[] = {
    {"[a-z&&[^aeiou]]", Engine::kLinear},  // set operations
    {"[a-z--b]", Engine::kLinear},
    {"[a~~b]", Engine::kLinear},
    {"[[a]b]", Engine::kLinear},  // nested class
    {R"((?i)\p{Lu})", Engine::kLinear},
    {R"((?i:\p{Ll}))", Engine::kBacktracking},
    {R"((?i)\p{Uppercase})", Engine::kLinear},
    {"(?=a)", Engine::kLinear},  // look-around is for the backtracking role
    {"(?<!a)b", Engine::kLinear},
    {"(?x)a b", Engine::kLinear},
    {R"(\e)", Engine::kBacktracking},  // unknown escape
    {R"(\<)", Engine::kLinear},        // a word-start assertion in Rust
    {"(a", Engine::kLinear},
    {"a)", Engine::kLinear},
    {"[a", Engine::kLinear},
    {R"(\x{110000})", Engine::kLinear},
    {R"(\u{D800})", Engine::kLinear},
    {"a\\", Engine::kLinear},
    {"(?-u)a", Engine::kLinear},
    {"[z-a]", Engine::kLinear},
};

INSTANTIATE_TEST_SUITE_P(Unsupported, RefusedTest, testing::ValuesIn(kRefusedCases));

TEST(Regex, CaseInsensitiveWithoutCaseProperties) {
  // \p outside (?i), and (?i) with other properties, stay allowed.
  EXPECT_NO_THROW(Regex(R"(\p{Lu}(?i)a)", Engine::kLinear));
  EXPECT_NO_THROW(Regex(R"((?i)\p{Nd})", Engine::kLinear));
  EXPECT_NO_THROW(Regex(R"((?i:a)\p{Lu})", Engine::kLinear));
}

// ---------------------------------------------------------------------------
// Iteration: Rust's rule for empty matches, in both roles.

struct IterationCase {
  const char* pattern;
  Engine engine;
  const char* text;
  std::vector<Span> expected;
};

void PrintTo(const IterationCase& c, std::ostream* os) { *os << c.pattern << " on " << c.text; }

class IterationTest : public testing::TestWithParam<IterationCase> {};

TEST_P(IterationTest, FollowsRustOrder) {
  const IterationCase& c = GetParam();
  Regex re(c.pattern, c.engine);
  EXPECT_EQ(spans(re, c.text), c.expected) << c.pattern << " on \"" << c.text << "\"";
}

const IterationCase kIterationCases[] = {
    // An empty match right where the previous match ended is skipped (Perl
    // and PCRE2's own demo loop would report {4, 4}).
    {"a*", Engine::kLinear, "baaa", {{0, 0}, {1, 4}}},
    {"a*", Engine::kBacktracking, "baaa", {{0, 0}, {1, 4}}},
    {"a*", Engine::kLinear, "", {{0, 0}}},
    {"a*", Engine::kLinear, "aab", {{0, 2}, {3, 3}}},
    // Empty matches step over whole code points, never inside one.
    {"", Engine::kLinear, "\u00E9\u4E00", {{0, 0}, {2, 2}, {5, 5}}},
    {"x*", Engine::kBacktracking, "\u00E9", {{0, 0}, {2, 2}}},
    // Non-overlapping, left to right; the next search starts at the end.
    {"aa", Engine::kLinear, "aaaaa", {{0, 2}, {2, 4}}},
    // Look-behind sees the text before the search position.
    {"(?<=a)b", Engine::kBacktracking, "abab", {{1, 2}, {3, 4}}},
    {"(?<=[a-z])(?=[A-Z])|(?<=[A-Z])(?=[A-Z][a-z])", Engine::kBacktracking, "aBcDEFgh",
     {{1, 1}, {3, 3}, {5, 5}}},
    {R"(\b)", Engine::kLinear, "ab cd", {{0, 0}, {2, 2}, {3, 3}, {5, 5}}},
};

INSTANTIATE_TEST_SUITE_P(EmptyMatches, IterationTest, testing::ValuesIn(kIterationCases));

TEST(Regex, ForEachStopsWhenTheCallbackReturnsFalse) {
  Regex re(R"(\d)", Engine::kLinear);
  std::vector<std::string_view> seen;
  re.for_each("1 2 3", [&](const Captures& m) {
    seen.push_back(m.str());
    return seen.size() < 2;
  });
  EXPECT_EQ(seen, (std::vector<std::string_view>{"1", "2"}));
}

TEST(Regex, CapturesReportGroupsAndNonParticipation) {
  Regex re(R"((?P<neg>-)?(\d+)(x)?)", Engine::kLinear);
  EXPECT_EQ(re.group_count(), 3u);
  EXPECT_EQ(re.group_index("neg"), 1);
  EXPECT_EQ(re.group_index("nothing"), -1);
  std::optional<Captures> m = re.find("ab 12", 0);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->size(), 4u);
  EXPECT_FALSE(m->matched(1));
  EXPECT_EQ(m->start(1), Captures::kUnset);
  EXPECT_EQ(m->group(1), "");
  EXPECT_EQ((*m)[2], "12");
  EXPECT_EQ(m->prefix(), "ab ");
  EXPECT_EQ(m->suffix(), "");
  // A group that takes part with an empty text is not "unset".
  Regex empty_group("(a*)b", Engine::kLinear);
  std::optional<Captures> e = empty_group.find("b");
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->matched(1));
  EXPECT_EQ(e->start(1), 0u);
  EXPECT_EQ(e->end(1), 0u);
}

TEST(Regex, FindStartsAtTheGivenPosition) {
  Regex re(R"(\d+)", Engine::kLinear);
  std::optional<Captures> m = re.find("12 34", 1);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->start(0), 1u);
  EXPECT_EQ(m->str(), "2");
  EXPECT_FALSE(re.find("12", 2));
  EXPECT_FALSE(re.find("12", 3));  // past the end: no match, no failure
}

TEST(Regex, EmptySubjectsAndNullViews) {
  Regex re("a*", Engine::kLinear);
  EXPECT_TRUE(re.is_match(std::string_view()));
  EXPECT_EQ(re.replace_all(std::string_view(), "x"), "x");
  Regex none("a", Engine::kBacktracking);
  EXPECT_EQ(none.replace_all(std::string_view(), "x"), "");
}

TEST(Regex, InvalidUtf8IsAnErrorNotACrash) {
  Regex re("a", Engine::kLinear);
  EXPECT_THROW(re.is_match("a\xFF"), vyr::Panic);
  // A start position inside a code point is refused too.
  EXPECT_THROW(re.find("\u00E9a", 1), vyr::Panic);
}

// ---------------------------------------------------------------------------
// Replacement templates.

struct TemplateCase {
  const char* templ;
  const char* expected;
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << c.templ; }

class TemplateTest : public testing::TestWithParam<TemplateCase> {};

TEST_P(TemplateTest, ExpandsPerMatch) {
  // Two matches of "1" and "2x": group 2 takes part only in the second.
  Regex re(R"((?P<d>\d)(x)?)", Engine::kLinear);
  EXPECT_EQ(re.replace_all("1 2x", GetParam().templ), GetParam().expected) << GetParam().templ;
}

const TemplateCase kTemplateCases[] = {
    {"[$1]", "[1] [2]"},
    {"[${1}]", "[1] [2]"},
    {"<$2>", "<> <x>"},          // non-participating group: ""
    {"$d$2", "1 2x"},            // by name
    {"${d}", "1 2"},
    {"$$1", "$1 $1"},            // "$$" is "$"
    {"$1a", " "},                // the name is "1a": no such group
    {"${1}a", "1a 2a"},
    {"$nope", " "},              // unknown name: ""
    {"$9", " "},                 // out of range: ""
    {"$99999999999999999999", " "},
    {"a$", "a$ a$"},             // '$' starting no name stays
    {"${1", "${1 ${1"},          // unclosed brace stays
    {"$-", "$- $-"},
    {"", " "},
    {" nhân ", " nhân   nhân "},
};

INSTANTIATE_TEST_SUITE_P(Templates, TemplateTest, testing::ValuesIn(kTemplateCases));

TEST(Regex, ReplaceAllWithCallbackCopiesTheGaps) {
  Regex re(R"(\d+)", Engine::kLinear);
  std::string out = re.replace_all_with("a1b22c", [](const Captures& m, std::string& o) {
    o += '<';
    o += m.str();
    o += '>';
  });
  EXPECT_EQ(out, "a<1>b<22>c");
  EXPECT_EQ(re.replace_all_with("abc", [](const Captures&, std::string& o) { o += "!"; }), "abc");
}

TEST(Regex, CallbacksMayUseOtherPatternsOnTheSameThread) {
  // Match scratch is per thread; a nested scan must not disturb the outer one.
  Regex outer(R"((\w+)=(\w+))", Engine::kLinear);
  Regex inner(R"((?<=a)b)", Engine::kBacktracking);
  std::string out = outer.replace_all_with("ab=cd xab=yb", [&](const Captures& m, std::string& o) {
    o += inner.replace_all(m[1], "B");
    o += ':';
    o += m[2];
  });
  EXPECT_EQ(out, "aB:cd xaB:yb");
}

// ---------------------------------------------------------------------------
// escape: a literal pattern for any text.

TEST(Regex, EscapeQuotesEveryMetaCharacter) {
  EXPECT_EQ(Regex::escape("a.b-c d#e&f~g"), R"(a\.b\-c d\#e\&f\~g)");
  EXPECT_EQ(Regex::escape(R"(\.+*?()|[]{}^$)"), R"(\\\.\+\*\?\(\)\|\[\]\{\}\^\$)");
  EXPECT_EQ(Regex::escape("Tp.HCM"), R"(Tp\.HCM)");
  const std::string literal = "x^$.|?*+()[]{}\\#&-~ đ/'\"";
  Regex re(Regex::escape(literal), Engine::kLinear);
  std::vector<Span> found = spans(re, "<" + literal + ">");
  EXPECT_EQ(found, (std::vector<Span>{{1, 1 + literal.size()}}));
  EXPECT_FALSE(Regex(Regex::escape("a.c"), Engine::kLinear).is_match("abc"));
}

// ---------------------------------------------------------------------------
// Engine roles.

TEST(Regex, BacktrackingLimitThrowsPanicOnARunawaySearch) {
  Regex re(R"((a+)+[bc])", Engine::kBacktracking);
  const std::string hostile(30, 'a');
  try {
    re.is_match(hostile);
    FAIL() << "no failure on a runaway search";
  } catch (const vyr::Panic& e) {
    EXPECT_NE(std::string(e.what()).find("backtracking limit"), std::string::npos) << e.what();
  }
  // The scan of a replace-all fails as a whole: no partial text.
  EXPECT_THROW(re.replace_all("ok " + hostile, "x"), vyr::Panic);
  // The pattern and the thread's scratch stay usable.
  EXPECT_TRUE(re.is_match("aab"));
}

TEST(Regex, LinearRoleHasNoStepLimit) {
  // The same search in the linear role runs to its end.
  Regex re(R"((a+)+[bc])", Engine::kLinear);
  EXPECT_FALSE(re.is_match(std::string(22, 'a')));
}

std::string ordinary_text(size_t at_least) {
  const std::string line =
      "Ngày 12/3/2024 lúc 10g30, giá 1.234.567 đồng tăng 5,5% so với năm ngoái.\n";
  std::string s;
  s.reserve(at_least + line.size());
  while (s.size() < at_least) s += line;
  return s;
}

TEST(Regex, BacktrackingRoleNeverFailsOnALongOrdinaryText) {
  // A limit counted over all start positions would fail here; the limit is
  // per start position.
  const std::string text = ordinary_text(1 << 20);
  const auto lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  Regex number(R"((?<!\d)(?P<neg>[-–—])?)"
               R"((\d+(?:,\d+|(?:\.\d{3})+(?!\d)|\.\d+|(?:\s\d{3})+(?!\d))?)(?!\d))",
               Engine::kBacktracking);
  size_t n = 0;
  EXPECT_NO_THROW(number.for_each(text, [&](const Captures&) { ++n; }));
  EXPECT_EQ(n, 7 * lines);  // 12, 3, 2024, 10, 30, 1.234.567, 5,5
  Regex none(R"((?i)\bngày\s+ngày\b)", Engine::kBacktracking);
  EXPECT_NO_THROW(EXPECT_FALSE(none.is_match(text)));
  Regex every_word(R"((?<![\d.])\b\w+\b(?![.,]\d))", Engine::kBacktracking);
  EXPECT_NO_THROW(every_word.replace_all(text, "w"));
}

TEST(Regex, LinearRoleNeverFailsWhenTheJitStackRunsOut) {
  // One match of 1 MB whose repeated group outgrows the JIT stack.
  std::string word;
  while (word.size() < (1 << 20)) word += "a'";
  word += 'a';
  Regex token(R"(\w+(?:['’]\w+)*)", Engine::kLinear);
  std::vector<Span> found;
  ASSERT_NO_THROW(found = spans(token, word));
  EXPECT_EQ(found, (std::vector<Span>{{0, word.size()}}));
}

TEST(Regex, SharedBetweenThreads) {
  Regex re(R"((?<!\d)(\d+)(?!\d))", Engine::kBacktracking);
  const std::string text = ordinary_text(64 * 1024);
  const std::string expected = re.replace_all(text, "<$1>");
  std::vector<std::string> results(4);
  std::vector<std::thread> threads;
  for (std::string& r : results) threads.emplace_back([&] { r = re.replace_all(text, "<$1>"); });
  for (std::thread& t : threads) t.join();
  for (const std::string& r : results) EXPECT_EQ(r, expected);
}

}  // namespace
