// The first two stages of phonemize: cutting the text into tokens with their
// languages and dictionary pronunciations, then settling the words that have
// both a Vietnamese and an English reading from their neighbours.
//
//   TokenList list = tokenize(engine, "ok <EN>Hello</en>, ba.");
//   propagate_language(list.tokens);
//
// English segments: "<en>" up to the nearest "</en>" after it, across line
// breaks too (the chunks the normaliser keeps), tags in any letter case;
// tags inside a segment are removed. An opening tag with no closing tag
// after it is ordinary text.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "g2p/token.hpp"
#include "text/regex.hpp"

namespace vyr::g2p {

class G2PEngine;

// «a <en>b\nc</en> d,» → segment «<en>b\nc</en>», words «a» «d», punct «,»
const text::Regex& RE_TOKEN();
// «it’s ok!» → word «it’s», word «ok», punct «!»
const text::Regex& RE_TAG_CONTENT();
// «<EN>x</en>» → tags «<EN>» and «</en>»
const text::Regex& RE_TAG_STRIP();

struct TokenList {
  std::vector<Token> tokens;
  // Segment contents that had inner tags removed; tokens view into them.
  std::deque<std::string> storage;
};

// The tokens of `text` in order, as RE_TOKEN's matches cut them (in time
// linear in the text); white space between them is dropped. Token
// texts view into `text` (or into the list's storage), so `text` must
// outlive the list. Words are looked up lower-cased through the engine.
TokenList tokenize(const G2PEngine& engine, std::string_view text);

// Replaces every kCommon label by kVi or kEn: each run of kCommon tokens
// takes the language of the nearest kVi/kEn token on either side (at equal
// distance kVi, unless both are kEn) that is not behind one of
// ".!?;:()[]{}", else kVi.
void propagate_language(std::vector<Token>& tokens);

// «a<en>b<en>» → «ab» (only the lower-case marker)
std::string without_en_marker(std::string_view s);
// Moves `s` out, with "<en>" removed and white space trimmed; no copy when
// there is nothing to remove.
std::string without_en_marker_trimmed(std::string&& s);
std::string trimmed(std::string&& s);

// True when the lower-cased word holds one of the 67 Vietnamese letters.
bool has_vietnamese_letter(std::string_view lowered);

}  // namespace vyr::g2p
