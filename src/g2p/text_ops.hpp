// Lower-casing and trimming for the phonemizer's hot path: the results of
// vyr::text::to_lower, lower_char and trim, with shortcuts for what most
// tokens are (ASCII or already lower-case words, pronunciations with no
// white space at their ends), which then skip ICU and the decoder.
//
//   lower_word("Chào") == vyr::text::to_lower("Chào")     // "chào"
//   trim_edges(" ɓa ") == vyr::text::trim(" ɓa ")          // "ɓa"
#pragma once

#include <string>
#include <string_view>

namespace vyr::g2p {

// «Chào» → «chào»: the full Unicode lower-case mapping of the whole word.
std::string lower_word(std::string_view word);

// «Đ» → «đ»: the full lower-case mapping of one character alone.
std::string lower_letter(char32_t c);

// «\u00a0ɓa » → «ɓa»: Unicode White_Space removed at both ends.
std::string_view trim_edges(std::string_view s);

}  // namespace vyr::g2p
