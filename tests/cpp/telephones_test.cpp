#include "vi_normalizer/telephones.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

std::string read(std::string_view text) {
  std::string out = "untouched";
  const bool changed = read_telephone_numbers(text, out);
  EXPECT_EQ(changed, out != "untouched") << text;
  return changed ? out : std::string(text);
}

TEST(ReadTelephoneNumbers, ReadsEachShapeGroupByGroup) {
  const struct {
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"gọi +84 912 345 678.", "gọi  không chín một hai, ba bốn năm, sáu bảy tám ."},
      {"+84912345678", " không chín một hai ba bốn năm sáu bảy tám "},
      {"+1 202-555-0143", " cộng một, hai không hai, năm năm năm, không một bốn ba "},
      {"1900\u20131009", " một chín không không, một không không chín "},
      {"(028) 3822 1234", " không hai tám, ba tám hai hai, một hai ba bốn "},
      {"(04) 3825 3131", " không bốn, ba tám hai năm, ba một ba một "},
      // further groups after a space are numbers of their own
      {"0912 345 678 0987", " không chín một hai, ba bốn năm, sáu bảy tám  0987"},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.text), c.expected) << c.text;
}

TEST(ReadTelephoneNumbers, LeavesOtherNumbers) {
  for (std::string_view text : {
           "1900-1945",           // years
           "1800-2100",
           "1900-01-31",          // a date
           "1800.12.1",
           "01.02.2020 123",      // a date, then a number
           "0,912 345 678",       // decimal
           "a+84912345678",       // glued to a word or a sum
           "5+84912345678",
           "1.1900 1234",
           "+84 912 345",         // too short
           "1900 1234567",        // too many digits after 1900
           "0912 345 678ab",      // glued to letters
           "0912 345 678,5",
           "0912.345.6789.1",
       }) {
    EXPECT_EQ(read(text), text);
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
