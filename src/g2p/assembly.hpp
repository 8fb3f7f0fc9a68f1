// The last stage of phonemize: one output part per settled token, joined
// with single spaces, with the space before . , ! ? ; : removed.
//
//   std::string out = assemble(engine, list.tokens);   // «sin caw.»
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "g2p/token.hpp"

namespace vyr::g2p {

class G2PEngine;

// True for a value that starts and ends with U+001F (a lone U+001F too).
bool is_dual_pronunciation(std::string_view p);
// «\x1fvi\x1fen\x1f», kEn → «en»; kVi → «vi». A lone «\x1f» has no readings
// and gives «». Not trimmed.
std::string_view dual_part(std::string_view p, Lang lang);

// Appends the part of one token (kVi, kEn or kPunct) to out.
void append_token_part(const G2PEngine& engine, const Token& token, std::string& out);

// «a , b .» → «a, b.»: replaces " ." by ".", then " ," by ",", and so on
// for ! ? ; : (each over the whole string once), in place.
void glue_punctuation(std::string& joined);

// The parts of all tokens joined by " ", then glued.
std::string assemble(const G2PEngine& engine, const std::vector<Token>& tokens);

}  // namespace vyr::g2p
