// E-mail addresses read aloud.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_EMAIL();
const text::Regex& RE_EMAIL_SPLIT();
const text::Regex& RE_SUB_TOKENS();

std::string normalize_emails(std::string_view text);
std::string read_email_address(std::string_view text);
// One side of an address; is_domain is true for the part after "@".
std::string normalize_email_part(std::string_view part, bool is_domain);

}  // namespace vyr::vi_normalizer
