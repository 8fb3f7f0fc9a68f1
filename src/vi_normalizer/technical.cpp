#include "vi_normalizer/technical.hpp"

#include <cstddef>
#include <vector>

#include "text/unicode.hpp"
#include "vi_normalizer/email.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {

// Eight branches, tried in this order at each start; the first that matches
// wins even when a later one would match more: «app.config.v2» → «app.config»
// (file name) rather than the identifier «app.config.v2».
// «https://x.io/a», «www.x.org», «shop.vn/sale», «/usr/bin», «C:\Users»,
// «report_2024.pdf», «max_retry_count», «fe80:0:0:1» → one match each.
const text::Regex& RE_TECHNICAL() {
  static const text::Regex re(R"re((?ix)
    \b(?:https?|ftp)://[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]+\b
    |
    \b(?:www\.)[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]+\b
    |
    \b[A-Za-z0-9.\-]+(?:\.com|\.vn|\.net|\.org|\.gov|\.io|\.biz|\.info)(?:/[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]*)?\b
    |
    (?<!\w)/[a-zA-Z0-9._\-/]{2,}\b
    |
    \b[a-zA-Z]:\\[a-zA-Z0-9._\\\-]+\b
    |
    \b[a-zA-Z0-9._\-]+\.(?:txt|log|tar|gz|zip|sh|py|js|cpp|h|json|xml|yaml|yml|md|csv|pdf|docx|xlsx|exe|dll|so|config)\b
    |
    \b[a-zA-Z][a-zA-Z0-9]*(?:[._\-][a-zA-Z0-9]+){2,}\b
    |
    \b[a-fA-F0-9]{1,4}(?::[a-fA-F0-9]{1,4}){3,7}\b
    )re",
                              text::Engine::kBacktracking);
  return re;
}

// «a?q=1&x=2» → delimiters «?», «=», «&», «=».
const text::Regex& RE_TECH_SPLIT() {
  static const text::Regex re(R"re(([./:?&=/_ \-\\#]))re", text::Engine::kLinear);
  return re;
}

namespace {

using pieces::Readings;

// Every byte of a match of RE_TECHNICAL that a match cannot do without: each
// branch holds one of these (the scheme's "://", "www.", a suffix's ".", a
// path's "/", a drive's ":", an extension's ".", a separator, a hex ":").
constexpr std::string_view kMatchMarks = "./:_-";

// The delimiters the look-ahead after "." passes over; "#" stops it.
constexpr std::string_view kLookaheadSkipped = "./:?&=_ -\\";

// «#» → «thăng»; nullptr for "." and for text pieces.
const char* technical_delimiter_word(std::string_view piece) {
  if (piece.size() != 1) return nullptr;
  switch (piece[0]) {
    case '#':
      return "thăng";
    case '&':
      return "và";
    case '-':
      return "gạch ngang";
    case '/':
    case '\\':
      return "gạch";
    case ':':
      return "hai chấm";
    case '=':
      return "bằng";
    case '?':
      return "hỏi";
    case '_':
      return "gạch dưới";
    default:
      return nullptr;
  }
}

// Upper-case letters only: "A" to "Z" or a non-ASCII Uppercase character.
bool all_upper_case(std::string_view run) {
  size_t pos = 0;
  while (pos < run.size()) {
    if (!text::is_uppercase(text::decode_utf8(run, pos))) return false;
  }
  return true;
}

// The letter rule. «API» → «__start_en__a p i__end_en__», «HTTPS» →
// «__start_en__https__end_en__», «js» → «__start_en__j s__end_en__», «Html» →
// «__start_en__html__end_en__». A run that is not all upper-case is spelled
// when shorter than `spell_below` bytes (3, or 4 for a scheme: «ftp», «http»).
void add_letter_run(std::string_view run, size_t spell_below, Readings& out) {
  const bool spelled = all_upper_case(run) ? run.size() <= 4 : run.size() < spell_below;
  const std::string lowered = text::to_lower(run);
  if (!spelled) {
    out.add_english(lowered);
    return;
  }
  std::string letters;
  letters.reserve(lowered.size() * 2);
  size_t pos = 0;
  while (pos < lowered.size()) {
    const size_t start = pos;
    text::decode_utf8(lowered, pos);
    if (start != 0) letters += ' ';
    letters.append(lowered, start, pos - start);
  }
  out.add_english(letters);
}

// «net» → «nét»; «a+b» → «a + bê»; «2024» → «hai không hai bốn»;
// «v2» → «__start_en__v__end_en__ hai»; «Users» → «__start_en__users__end_en__».
void read_technical_piece(std::string_view piece, Readings& out) {
  const std::string lowered = text::to_lower(piece);
  if (const std::string_view* suffix = DOMAIN_SUFFIX_MAP().find(lowered)) {
    out.add(*suffix);
    return;
  }
  if (!pieces::all_ascii_alnum(piece)) {
    pieces::read_characters(lowered, out);
    return;
  }
  if (pieces::all_ascii_digits(piece)) {
    out.add(n2w_single(piece));  // digit by digit, never a cardinal
    return;
  }
  // One token is the whole piece, so one rule serves both counts.
  RE_SUB_TOKENS().for_each(piece, [&](const text::Captures& t) {
    const std::string_view token = t.str();
    if (pieces::all_ascii_digits(token)) {
      out.add(n2w_single(token));
    } else {
      add_letter_run(token, 3, out);
    }
  });
}

}  // namespace

// «/usr/local/bin» → «gạch __start_en__usr__end_en__ gạch __start_en__local__end_en__
// gạch __start_en__bin__end_en__»; «www.abc.com» → «__start_en__www__end_en__ chấm
// __start_en__abc__end_en__ chấm com».
std::string normalize_technical_match(std::string_view match) {
  Readings out;
  std::string_view rest = match;
  const size_t scheme_end = match.find("://");
  if (scheme_end != std::string_view::npos) {
    // Everything before the first "://" is the scheme, however long.
    add_letter_run(match.substr(0, scheme_end), 4, out);
    rest = match.substr(scheme_end + 3);
  } else if (!match.empty() && match.front() == '/') {
    out.add("gạch");
    rest = match.substr(1);
  }

  const std::vector<std::string_view> ps = pieces::cut(rest, RE_TECH_SPLIT());
  pieces::SuffixLookahead ahead(ps, kLookaheadSkipped);
  for (size_t i = 0; i < ps.size(); ++i) {
    const std::string_view piece = ps[i];
    if (piece.empty()) continue;
    if (const char* word = technical_delimiter_word(piece)) {
      out.add(word);
    } else if (piece == ".") {
      out.add("chấm");
      const size_t next = ahead.next_word(i + 1);
      if (next == ps.size()) continue;
      const std::string suffix = text::to_lower(ps[next]);
      if (const std::string_view* reading = DOMAIN_SUFFIX_MAP().find(suffix)) {
        out.add(*reading);
        i = next;
      }
    } else {
      read_technical_piece(piece, out);
    }
  }
  return pieces::squeeze_double_spaces_and_trim(out.str());
}

// «xem docs.python.org/3» → «xem __start_en__docs__end_en__ chấm
// __start_en__python__end_en__ chấm o rờ gờ gạch ba».
std::string normalize_technical(std::string_view text) {
  if (text.find_first_of(kMatchMarks) == std::string_view::npos) return std::string(text);
  return RE_TECHNICAL().replace_all_with(text, [](const text::Captures& m, std::string& out) {
    out += normalize_technical_match(m.str());
  });
}

}  // namespace vyr::vi_normalizer
