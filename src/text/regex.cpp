#include "text/regex.hpp"

#include <pcre2.h>

#include <climits>
#include <cstring>

#include "runtime/panic.hpp"
#include "text/pattern_translation.hpp"
#include "text/unicode.hpp"

namespace vyr::text {
namespace {

// Steps one search of a backtracking pattern may take from one start
// position. PCRE2's interpreter resets its counter at every start position,
// so an ordinary text of any length never reaches it.
constexpr uint32_t kBacktrackLimit = 1'000'000;
// JIT stack per thread; a search that needs more runs again in the
// interpreter, whose frames live on the heap.
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 1024 * 1024;

struct CodeFree {
  void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* m) const { pcre2_match_data_free(m); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* m) const { pcre2_match_context_free(m); }
};
struct JitStackFree {
  void operator()(pcre2_jit_stack* s) const { pcre2_jit_stack_free(s); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* c) const { pcre2_compile_context_free(c); }
};

std::string error_text(int code) {
  PCRE2_UCHAR buf[256];
  int n = pcre2_get_error_message(code, buf, sizeof buf);
  if (n < 0) return "PCRE2 error " + std::to_string(code);
  return std::string(reinterpret_cast<const char*>(buf), static_cast<size_t>(n));
}

std::unique_ptr<pcre2_match_context, MatchContextFree> make_context(uint32_t match_limit,
                                                                    pcre2_jit_stack* stack) {
  std::unique_ptr<pcre2_match_context, MatchContextFree> ctx(pcre2_match_context_create(nullptr));
  if (!ctx) throw std::bad_alloc();
  pcre2_set_match_limit(ctx.get(), match_limit);
  pcre2_set_depth_limit(ctx.get(), UINT32_MAX);
  pcre2_set_heap_limit(ctx.get(), UINT32_MAX);
  if (stack != nullptr) pcre2_jit_stack_assign(ctx.get(), nullptr, stack);
  return ctx;
}

// Match scratch space of one thread. Offsets are copied out of the match
// data before a search returns, so a callback that runs other patterns on
// the same thread never sees them overwritten.
class Scratch {
 public:
  Scratch()
      : jit_stack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)),
        linear_(make_context(UINT32_MAX, jit_stack_.get())),
        backtracking_(make_context(kBacktrackLimit, jit_stack_.get())) {}

  pcre2_match_data* match_data(uint32_t pairs) {
    if (!match_data_ || pcre2_get_ovector_count(match_data_.get()) < pairs) {
      match_data_.reset(pcre2_match_data_create(pairs, nullptr));
      if (!match_data_) throw std::bad_alloc();
    }
    return match_data_.get();
  }
  pcre2_match_context* context(Engine engine) {
    return engine == Engine::kLinear ? linear_.get() : backtracking_.get();
  }

 private:
  std::unique_ptr<pcre2_jit_stack, JitStackFree> jit_stack_;  // null if none: JIT uses its own
  std::unique_ptr<pcre2_match_context, MatchContextFree> linear_;
  std::unique_ptr<pcre2_match_context, MatchContextFree> backtracking_;
  std::unique_ptr<pcre2_match_data, MatchDataFree> match_data_;
};

Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

bool is_template_name_char(char32_t c, Engine engine) {
  if (c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
    return true;
  return engine == Engine::kBacktracking && c >= 0x80 && is_alphanumeric(c);
}

bool is_all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The subject pointer PCRE2 gets: never null (an empty view may have none).
PCRE2_SPTR subject_ptr(std::string_view s) {
  static const char kEmpty[1] = {'\0'};
  return reinterpret_cast<PCRE2_SPTR>(s.data() != nullptr ? s.data() : kEmpty);
}

using CodePtr = std::unique_ptr<pcre2_code, CodeFree>;

CodePtr compile(const std::string& translated, const std::string& original) {
  std::unique_ptr<pcre2_compile_context, CompileContextFree> cctx(
      pcre2_compile_context_create(nullptr));
  if (!cctx) throw std::bad_alloc();
  pcre2_set_newline(cctx.get(), PCRE2_NEWLINE_LF);
  int err = 0;
  PCRE2_SIZE err_offset = 0;
  CodePtr code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.data()), translated.size(),
                             PCRE2_UTF | PCRE2_UCP | PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX,
                             &err, &err_offset, cctx.get()));
  if (!code) {
    throw Panic("regex compile error: " + error_text(err) + " at offset " +
                std::to_string(err_offset) + " of translated pattern " + translated +
                " (from " + original + ")");
  }
  return code;
}

// Whether PCRE2 can skip ahead to where a match may start: a first code
// unit, a start bitmap, or an anchor.
bool has_start_optimization(const pcre2_code* code) {
  uint32_t first_type = 0;
  const uint8_t* bitmap = nullptr;
  pcre2_pattern_info(code, PCRE2_INFO_FIRSTCODETYPE, &first_type);
  pcre2_pattern_info(code, PCRE2_INFO_FIRSTBITMAP, &bitmap);
  return first_type != 0 || bitmap != nullptr;
}

// PCRE2 is told never to check: a subject that is no valid UTF-8, or a
// start inside a code point, is refused here before it could be misread.
void check_subject(std::string_view subject, size_t pos) {
  if (!is_valid_utf8(subject)) throw Panic("regex subject is not valid UTF-8");
  if (pos < subject.size() && (static_cast<unsigned char>(subject[pos]) & 0xC0) == 0x80)
    throw Panic("regex search starts inside a code point, at byte " + std::to_string(pos));
}

}  // namespace

struct Regex::Impl {
  std::unique_ptr<pcre2_code, CodeFree> code;
  uint32_t groups = 0;  // capture groups, group 0 not counted
  bool jit = false;
};

Regex::Regex(std::string_view pattern, Engine engine)
    : pattern_(pattern), engine_(engine), impl_(std::make_unique<Impl>()) {
  const std::string translated = to_pcre2(pattern, engine == Engine::kBacktracking);
  impl_->code = compile(translated, pattern_);
  if (!has_start_optimization(impl_->code.get())) {
    // PCRE2 builds no start bitmap past a Unicode property (\d is \p{Nd}),
    // and then tries a match at every position. A look-ahead for the
    // characters a match can start with, implied by the pattern itself,
    // gives it one.
    const std::string first = start_class(pattern);
    if (!first.empty()) {
      CodePtr hinted = compile("(?=" + first + ")(?:" + translated + ")", pattern_);
      if (has_start_optimization(hinted.get())) impl_->code = std::move(hinted);
    }
  }
  pcre2_pattern_info(impl_->code.get(), PCRE2_INFO_CAPTURECOUNT, &impl_->groups);
  // Without JIT (not built in, or out of executable memory) the interpreter
  // gives the same results, only slower.
  impl_->jit = pcre2_jit_compile(impl_->code.get(), PCRE2_JIT_COMPLETE) == 0;
}

Regex::~Regex() = default;

size_t Regex::group_count() const { return impl_->groups; }

int Regex::group_index(std::string_view name) const {
  std::string n(name);
  int rc = pcre2_substring_number_from_name(impl_->code.get(),
                                            reinterpret_cast<PCRE2_SPTR>(n.c_str()));
  return rc > 0 ? rc : -1;
}

bool Regex::search(std::string_view subject, size_t pos, bool first_search,
                   Captures& caps) const {
  if (pos > subject.size()) return false;
  Scratch& s = scratch();
  const uint32_t pairs = impl_->groups + 1;
  pcre2_match_data* md = s.match_data(pairs);
  pcre2_match_context* ctx = s.context(engine_);
  // The first search of a scan checks the UTF-8 once, faster than PCRE2's own
  // check; later searches of the scan start where a match ended or one code
  // point further, always on a code point boundary.
  if (first_search) check_subject(subject, pos);
  const uint32_t options = PCRE2_NO_UTF_CHECK;
  PCRE2_SPTR subj = subject_ptr(subject);
  // The JIT entry point skips pcre2_match's argument checks, all settled here.
  int rc = impl_->jit
               ? pcre2_jit_match(impl_->code.get(), subj, subject.size(), pos, options, md, ctx)
               : pcre2_match(impl_->code.get(), subj, subject.size(), pos, options, md, ctx);
  if (impl_->jit && (rc == PCRE2_ERROR_JIT_STACKLIMIT || rc == PCRE2_ERROR_MATCHLIMIT)) {
    // The JIT stack is bounded and the JIT counts its match limit in its own
    // way; the interpreter keeps its frames on the heap and counts per start
    // position, so its answer is the one that stands.
    rc = pcre2_match(impl_->code.get(), subj, subject.size(), pos, options | PCRE2_NO_JIT, md,
                     ctx);
  }
  if (rc == PCRE2_ERROR_NOMATCH) return false;
  if (rc == PCRE2_ERROR_MATCHLIMIT) {
    throw Panic("regex backtracking limit exceeded: more than " +
                std::to_string(kBacktrackLimit) + " steps from one start position in pattern " +
                pattern_);
  }
  if (rc == PCRE2_ERROR_NOMEMORY || rc == PCRE2_ERROR_HEAPLIMIT) throw std::bad_alloc();
  if (rc < 0) throw Panic("regex match error: " + error_text(rc) + " in pattern " + pattern_);
  const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md);
  caps.subject_ = subject;
  caps.offsets_.resize(2 * pairs);
  const size_t set_pairs = rc == 0 ? pairs : static_cast<size_t>(rc);
  for (size_t i = 0; i < 2 * pairs; ++i) {
    caps.offsets_[i] = (i / 2 < set_pairs && ov[i] != PCRE2_UNSET) ? ov[i] : Captures::kUnset;
  }
  return true;
}

size_t Regex::next_char(std::string_view s, size_t pos) {
  if (pos >= s.size()) return pos + 1;
  decode_utf8(s, pos);
  return pos;
}

bool Regex::is_match(std::string_view subject) const {
  Captures caps;
  return search(subject, 0, true, caps);
}

std::optional<Captures> Regex::find(std::string_view subject, size_t pos) const {
  Captures caps;
  if (!search(subject, pos, true, caps)) return std::nullopt;
  return caps;
}

std::vector<Captures> Regex::all(std::string_view subject) const {
  std::vector<Captures> out;
  for_each(subject, [&](const Captures& m) { out.push_back(m); });
  return out;
}

std::string Regex::replace_all(std::string_view subject, std::string_view templ) const {
  // A template without '$' is a literal: no parsing per match.
  if (templ.find('$') == std::string_view::npos) {
    return replace_all_with(subject, [&](const Captures&, std::string& out) { out += templ; });
  }
  return replace_all_with(subject,
                          [&](const Captures& m, std::string& out) { expand(m, templ, out); });
}

// "$1-${2}x$$" with groups "a", "b" -> "a-bx$". A name is the longest run of
// name characters after '$' (all digits: a group number); "${...}" delimits
// it. An unknown or non-participating group expands to "", and a '$' that
// starts no reference stays as it is.
void Regex::expand(const Captures& m, std::string_view templ, std::string& out) const {
  size_t i = 0;
  while (i < templ.size()) {
    size_t dollar = templ.find('$', i);
    if (dollar == std::string_view::npos) {
      out.append(templ.substr(i));
      return;
    }
    out.append(templ.substr(i, dollar - i));
    i = dollar + 1;
    if (i < templ.size() && templ[i] == '$') {
      out += '$';
      ++i;
      continue;
    }
    std::string_view name;
    if (i < templ.size() && templ[i] == '{') {
      size_t close = templ.find('}', i + 1);
      if (close == std::string_view::npos) {
        out += '$';
        continue;
      }
      name = templ.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      size_t end = i;
      while (end < templ.size()) {
        size_t next = end;
        char32_t c = decode_utf8(templ, next);
        if (!is_template_name_char(c, engine_)) break;
        end = next;
      }
      name = templ.substr(i, end - i);
      i = end;
    }
    if (name.empty()) {
      out += '$';
      continue;
    }
    size_t group = Captures::kUnset;
    if (is_all_digits(name)) {
      group = 0;
      for (char c : name) {
        group = group * 10 + static_cast<size_t>(c - '0');
        if (group > m.size()) break;  // out of range already; avoids overflow
      }
    } else {
      int idx = group_index(name);
      if (idx >= 0) group = static_cast<size_t>(idx);
    }
    if (group < m.size()) out.append(m.group(group));
  }
}

std::string Regex::escape(std::string_view literal) {
  static constexpr std::string_view kMeta = "\\.+*?()|[]{}^$#&-~";
  std::string out;
  out.reserve(literal.size() + literal.size() / 4 + 1);
  for (char c : literal) {
    if (kMeta.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

}  // namespace vyr::text
