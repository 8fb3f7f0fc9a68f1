#include "vi_normalizer/inline_passes.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

using Pass = bool (*)(std::string_view, std::string&);

std::string run_on(Pass pass, std::string_view text) {
  std::string out;
  return pass(text, out) ? out : std::string(text);
}

struct Case {
  const char* text;
  const char* expected;
};

void expect_cases(Pass pass, std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(run_on(pass, c.text), c.expected) << "text: " << c.text;
}

TEST(InlinePasses, CamelCaseSplitsAtCaseChanges) {
  expect_cases(split_camel_case, {
                                     {"camelCase", "camel Case"},
                                     {"XMLParser", "XML Parser"},
                                     {"getHTTPResponseCode", "get HTTP Response Code"},
                                     {"dùng camelCase nhé", "dùng camel Case nhé"},
                                     // no case change: written back whatever the acronym test says
                                     {"camel", "camel"},
                                     {"CAMEL", "CAMEL"},
                                     // not a whole ASCII word of three letters or more
                                     {"aB", "aB"},
                                     {"abcDef1", "abcDef1"},
                                     {"abc_Def", "abc_Def"},
                                     {"NguyễnVăn", "NguyễnVăn"},
                                 });
}

// A table abbreviation glued to a word is part of a name: the pieces stay
// joined by a hyphen, which keeps the abbreviation from being expanded.
TEST(InlinePasses, CamelCaseKeepsAbbreviationsInNamesJoined) {
  expect_cases(split_camel_case, {
                                     {"TPBank", "TP-Bank"},
                                     {"VNExpress đưa tin", "VN-Express đưa tin"},
                                     {"myHNPost", "my-HN-Post"},
                                     {"XMLParser", "XML Parser"},
                                 });
}

TEST(InlinePasses, CamelCaseLeavesAcronymShapedWordsWhole) {
  expect_cases(split_camel_case, {
                                     {"ThS", "ThS"},
                                     {"NoSQL", "NoSQL"},
                                     {"iPhone", "i Phone"},
                                 });
}

TEST(InlinePasses, DashesReadByContext) {
  expect_cases(read_context_tru, {
                                     {"kết quả 10-2", " kết quả 10 trừ 2 "},
                                     {"BẰNG 5 – 3 nhé", " BẰNG 5 trừ 3  nhé"},
                                     {"tính 1,5—0.5", " tính 1,5 trừ 0.5 "},
                                     {"là 10-2", "là 10-2"},
                                 });
  expect_cases(read_context_tru_post, {
                                          {"10-2 bằng 8", " 10 trừ 2 bằng  8"},
                                          {"10 - 2 Kết Quả", " 10 trừ 2 Kết Quả "},
                                      });
  expect_cases(read_context_den, {
                                     {"Từ 5-10 ngày", " Từ 5 đến 10  ngày"},
                                     {"trong 2-3 ngày", " trong 2 đến 3  ngày"},
                                     {"KHOẢNG 1,5 - 2,5", " KHOẢNG 1,5 đến 2,5 "},
                                     {"từ5-10", "từ5-10"},
                                     // days of a month: left whole for the date pass
                                     {"từ 15-20/6", "từ 15-20/6"},
                                 });
}

TEST(InlinePasses, RangesBetweenQuantities) {
  expect_cases(read_quantity_ranges,
               {
                   {"8h-17h", "8h đến 17h"},
                   {"8:00 - 17:00", "8:00 đến 17:00"},
                   {"8h00—22h00", "8h00 đến 22h00"},
                   {"8h-17:30", "8h đến 17:30"},
                   {"15°C–20°C", "15°C đến 20°C"},
                   {"6,5%-7%", "6,5% đến 7%"},
                   {"500.000đ - 1.000.000đ", "500.000đ đến 1.000.000đ"},
                   {"500.000 - 1.000.000đ", "500.000 đến 1.000.000đ"},
                   {"5KG-10kg", "5KG đến 10kg"},
                   {"$5-$10", "$5 đến $10"},
                   // two kinds, plain numbers, or an unknown tail: unchanged
                   {"5kg-10%", "5kg-10%"},
                   {"8:00-17h0", "8:00-17h0"},
                   {"$5-10$", "$5-10$"},
                   {"5-10", "5-10"},
                   {"1A-2A", "1A-2A"},
                   {"2-3/4", "2-3/4"},
                   {"8h -17h", "8h -17h"},  // a minus sign, as in the range step
                   // glued to a letter, digit or sign on either side
                   {"x8h-17h", "x8h-17h"},
                   {"-5°C-10°C", "-5°C-10°C"},
                   {"8h-17hx", "8h-17hx"},
               });
}

TEST(InlinePasses, Equations) {
  expect_cases(read_eq_minus, {
                                  {"5 - 3 = 2", "5 trừ 3 = 2"},
                                  {"1/2-1/4=", "1/2 trừ 1/4 ="},
                                  {"5-3=-2", "5 trừ 3 =-2"},
                                  {"5-3 là 2", "5-3 là 2"},
                              });
  expect_cases(read_eq_neg, {
                                {"x=-5", "x= âm 5"},
                                {"x = –2.5", "x = âm 2.5"},
                                {"5 trừ 3 =-2", "5 trừ 3 = âm 2"},
                                {"x=5-2", "x=5-2"},
                            });
  expect_cases(read_minus_before_letter, {
                                             {"x = -b/a", "x =  trừ b/a"},
                                             {"x=-b", "x= trừ b"},
                                             {"(-x)", "( trừ x)"},
                                             {"2*−y", "2* trừ y"},
                                             {"a ≥ -b", "a ≥  trừ b"},
                                             // no term opened, or no letter after
                                             {"đi -abc", "đi -abc"},
                                             {"COVID-19", "COVID-19"},
                                             {"x = -5", "x = -5"},
                                             {"a - b", "a - b"},
                                             {"-x", "-x"},
                                         });
}

TEST(InlinePasses, DigitGroupsReadDigitByDigit) {
  expect_cases(read_numeric_dash_groups,
               {
                   {"123-456-789", "một hai ba, bốn năm sáu, bảy tám chín"},
                   {"0912-345-678", "không chín một hai, ba bốn năm, sáu bảy tám"},
                   {"gọi 0912–345—678 nhé", "gọi không chín một hai, ba bốn năm, sáu bảy tám nhé"},
                   {"1-2-3-4", "một, hai, ba, bốn"},
                   {"12-34", "12-34"},
                   {"a1-2-3", "a1-2-3"},
               });
  expect_cases(read_phone_space, {
                                     {"090 123 456", "không chín không, một hai ba, bốn năm sáu"},
                                     {"0901 234 567", "không chín không một, hai ba bốn, năm sáu bảy"},
                                     {"090\u00a0123\u3000456",
                                      "không chín không, một hai ba, bốn năm sáu"},
                                     {"090 123 4567", "090 123 4567"},
                                     {"190 123 456", "190 123 456"},
                                     {"090  123 456", "090  123 456"},
                                 });
}

TEST(InlinePasses, BarePowersOfTen) {
  expect_cases(read_power_of_ten_implicit, {
                                               {"10^-3", "mười mũ trừ ba"},
                                               {"10^+6", "mười mũ sáu"},
                                               {"10^6 lần", "mười mũ sáu lần"},
                                               {"10^23", "mười mũ hai mươi ba"},
                                               {"a10^6", "a10^6"},
                                               {"210^6", "210^6"},
                                           });
}

TEST(InlinePasses, FreeDashesAndArrows) {
  expect_cases(dash_to_comma, {
                                  {"A - B", "A , B"},
                                  {"A – B — C", "A , B , C"},
                                  {"A\n-\tB", "A\n,\tB"},
                                  {"A-B", "A-B"},
                                  {"5 -3", "5 -3"},
                                  {"5- 3", "5- 3"},
                              });
  expect_cases(read_to_sang, {
                                 {"A->B", "A sang B"},
                                 {"A  =>  B", "A sang B"},
                                 {"A > B", "A > B"},
                             });
}

TEST(InlinePasses, NumbersWithSeveralCommas) {
  expect_cases(read_multi_comma, {
                                     {"1,2,3", "một phẩy hai phẩy ba"},
                                     {"3,15,7", "ba phẩy một lăm phẩy bảy"},
                                     {"1,05,5", "một phẩy không năm phẩy năm"},
                                     {"1,5", "1,5"},
                                     {"1,,2,3", "1,,2,3"},
                                 });
}

TEST(InlinePasses, DotBetweenDigits) {
  expect_cases(read_dot_between_digits, {
                                            {"3.14", "3 chấm 14"},
                                            {"1.2.3", "1 chấm 2.3"},
                                            {"a.b", "a.b"},
                                            {"3.", "3."},
                                        });
}

}  // namespace
}  // namespace vyr::vi_normalizer
