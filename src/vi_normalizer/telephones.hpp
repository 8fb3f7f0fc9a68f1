// Telephone numbers read digit by digit, group by group, before any pass can
// take their groups for cardinals, ranges or fractions.
//
//   std::string out;
//   read_telephone_numbers("Gọi +84 912 345 678", out);
//   // out = "Gọi  không chín một hai, ba bốn năm, sáu bảy tám "
//   read_telephone_numbers("Hotline 1900-1009", out);
//   // out = "Hotline  một chín không không, một không không chín "
//
// The shapes: "+" and a country code followed by digit groups separated by
// spaces, dots or dashes, or unbroken («+84» reads «không», another code keeps
// «cộng»); 1800 or 1900 followed by four to six more digits in one or more
// groups (a dash to a later year up to 2100 stays a range: «1900-1945»); a
// zero-led area code, bare or in brackets, followed by groups that make 9 to
// 11 digits in all. Groups are joined by ", " in the reading. The pipeline
// masks each reading, so that no later pass reads its words again («năm
// năm» is a phrase of dates); read_telephone_numbers writes it between two
// spaces in place of the number: true with the result in `out`; false,
// leaving `out` alone, when the text holds no telephone number. Linear in the
// text; stateless and thread safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::vi_normalizer {

// One telephone number: its bytes [start, end) and its reading.
struct TelephoneNumber {
  size_t start;
  size_t end;
  std::string reading;
};

// The telephone numbers of `text`, left to right.
std::vector<TelephoneNumber> find_telephone_numbers(std::string_view text);

bool read_telephone_numbers(std::string_view text, std::string& out);

}  // namespace vyr::vi_normalizer
