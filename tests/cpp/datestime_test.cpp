#include "vi_normalizer/datestime.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <vector>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

void ExpectAll(std::string (*pass)(std::string_view), std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(pass(c.input), c.expected) << "input: «" << c.input << "»";
  }
}

// ---------------------------------------------------------------------------
// Pattern texts, against the conformance vectors recorded with the pattern
// layer: every record carries its pattern's name, engine and exact text.

// name → {"engine", "pattern"}, from the first record of each pattern.
nlohmann::json RecordedPatterns() {
  std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl", std::ios::binary);
  nlohmann::json texts = nlohmann::json::object();
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const nlohmann::json record = nlohmann::json::parse(line);
    const std::string name = record["name"].get<std::string>();
    if (!texts.contains(name)) {
      texts[name] = {{"engine", record["engine"]}, {"pattern", record["pattern"]}};
    }
  }
  return texts;
}

TEST(DatesTimesPatterns, AreTheRecordedTextsInTheBacktrackingRole) {
  const nlohmann::json texts = RecordedPatterns();
  ASSERT_FALSE(texts.empty()) << "tests/data/patterns.jsonl missing";
  const struct {
    const char* name;
    const text::Regex& re;
  } patterns[] = {
      {"RE_ISO_FIX", RE_ISO_FIX()},
      {"RE_YYYY_MM_DD", RE_YYYY_MM_DD()},
      {"RE_PERIOD_YEAR", RE_PERIOD_YEAR()},
      {"RE_FULL_DATE", RE_FULL_DATE()},
      {"RE_MONTH_YEAR", RE_MONTH_YEAR()},
      {"RE_DAY_MONTH", RE_DAY_MONTH()},
      {"RE_FULL_TIME", RE_FULL_TIME()},
      {"RE_TIME", RE_TIME()},
      {"RE_HOUR_CONTEXT", RE_HOUR_CONTEXT()},
      {"RE_LUC_HOUR", RE_LUC_HOUR()},
  };
  for (const auto& p : patterns) {
    ASSERT_TRUE(texts.contains(p.name)) << p.name;
    EXPECT_EQ(p.re.pattern(), texts[p.name]["pattern"].get<std::string>()) << p.name;
    EXPECT_EQ(texts[p.name]["engine"].get<std::string>(), "fancy") << p.name;
    EXPECT_EQ(p.re.engine(), text::Engine::kBacktracking) << p.name;
  }
}

// ---------------------------------------------------------------------------
// normalize_date

TEST(NormalizeDate, IsoDatesAndTimestamps) {
  ExpectAll(normalize_date,
            {
                // "T" and "Z" set apart so the clock pass sees the time.
                {"2024-01-15T10:30:00Z",
                 "ngày mười lăm tháng một năm hai nghìn không trăm hai mươi bốn T 10:30:00 Z "},
                {"2023-02-29", "ngày hai mươi chín tháng hai năm hai nghìn không trăm hai mươi ba"},
                // April is «tư», a 05 day «năm».
                {"2023-04-05", "ngày năm tháng tư năm hai nghìn không trăm hai mươi ba"},
                // Not a date. Its last two parts were once a fraction with a
                // leading zero; a dash pair is no fraction, so they stay.
                {"2023-02-30", "2023-02-30"},
                {"2024-13-01", "2024-ngày mười ba tháng một"},
                // Lower-case "t" and "z" are not timestamp letters.
                {"15t10", "15t10"},
                // Followed by a decimal part: no date.
                {"2024-01-15.5", "2024-01-15.5"},
            });
}

TEST(NormalizeDate, PeriodsAndQuartersWithAYear) {
  ExpectAll(normalize_date, {
                                {"Q1/2024", "quý một hai không hai bốn"},
                                {"q/2025", "quý hai không hai lăm"},
                                {"Q0/2024", "quý không hai không hai bốn"},
                                // Three bytes: spelled, not a quarter.
                                {"Q12/2024", "qui một hai hai không hai bốn"},
                                {"H1/2024", "hát một hai không hai bốn"},
                                // The Kelvin sign folds to "k" and is named by it.
                                {"\u212A/2024", "ca hai không hai bốn"},
                                {"Q1/20245", "Q1/20245"},
                            });
}

TEST(NormalizeDate, FullDates) {
  constexpr std::string_view kAugust2024 =
      "ngày mười lăm tháng tám năm hai nghìn không trăm hai mươi bốn";
  ExpectAll(normalize_date,
            {
                {"15/08/2024", kAugust2024},
                {"15-08-2024", kAugust2024},
                {"15.08.2024", kAugust2024},
                // The separators need not agree.
                {"1/2-2023", "ngày một tháng hai năm hai nghìn không trăm hai mươi ba"},
                {"30/04/1975", "ngày ba mươi tháng tư năm một nghìn chín trăm bảy mươi lăm"},
                // Not valid as a whole: the month-year pass takes «01/2024».
                {"32/01/2024", "32/tháng một năm hai nghìn không trăm hai mươi bốn"},
                {"31/04/2024", "31/tháng tư năm hai nghìn không trăm hai mươi bốn"},
                // Digits of another script never make a valid date, and stay.
                {"١٥/٠٨/٢٠٢٤", "١٥/٠٨/٢٠٢٤"},
            });
}

TEST(NormalizeDate, MonthsOfAYear) {
  ExpectAll(normalize_date,
            {
                {"4/2024", "tháng tư năm hai nghìn không trăm hai mươi bốn"},
                {"1.2000", "tháng một năm hai nghìn"},
                // «tháng năm năm …» loses its doubled «năm».
                {"5/2023", "tháng năm hai nghìn không trăm hai mươi ba"},
                {"12/2500", "tháng mười hai năm hai nghìn năm trăm"},
                {"5/3000", "5/3000"},
                {"12/2501", "12/2501"},
                {"13/2024", "13/2024"},
                {"0/2024", "0/2024"},
                // A year in another script is kept, not read as year 0.
                {"1/٢٠٢٤", "1/٢٠٢٤"},
                // Followed by a decimal part: not a year.
                {"4/2024.5", "4/2024.5"},
            });
}

TEST(NormalizeDate, DayMonthByContext) {
  ExpectAll(normalize_date,
            {
                // A leading zero on a valid pair makes a date.
                {"05/06", "ngày năm tháng sáu"},
                {"05-06", "ngày năm tháng sáu"},
                // A date keyword among the three words on either side.
                {"ngày 15/8", "ngày mười lăm tháng tám"},
                {"(ngày 2/9)", "(ngày hai tháng chín)"},
                // Compared stripped of brackets and lower-cased.
                {"VÀO (15/8)", "VÀO (ngày mười lăm tháng tám)"},
                {"15/8 là ngày", "ngày mười lăm tháng tám là ngày"},
                {"vào một hai 15/8", "vào một hai ngày mười lăm tháng tám"},
                {"vào một hai ba 15/8", "vào một hai ba mười lăm trên tám"},
                {"hôm nay 5/6", "hôm nay ngày năm tháng sáu"},
                {"hôm 5/6", "hôm năm tháng sáu"},
                // The colon stays on the context word, so it is no keyword.
                {"ngày: 1/2", "ngày: một trên hai"},
                // A keyword does not make an invalid pair a date.
                {"ngày 13/13", "ngày 13/13"},
                // A math keyword or an operator: a fraction, even when not valid.
                {"tỷ số bằng 13/13", "tỷ số bằng mười ba trên mười ba"},
                {"x = 1/2", "x = một trên hai"},
                {"y = 13/13", "y = mười ba trên mười ba"},
                {"=13/13", "=mười ba trên mười ba"},
                {"13/13 X", "mười ba trên mười ba X"},
                {"13/13 ≈", "mười ba trên mười ba ≈"},
                {"y=13/13", "y=13/13"},
                // Valid without a hint, or a leading zero on an invalid pair.
                {"29/2", "hai mươi chín trên hai"},
                {"15/8", "mười lăm trên tám"},
                {"05/13", "không năm trên mười ba"},
                {"13/13", "13/13"},
                {"31/4", "31/4"},
                // The context words reach across a line break.
                {"vào\n15/8", "vào\nngày mười lăm tháng tám"},
                // A minus sign before a fraction is read; the dash stays for
                // the hyphen step. A dash after a letter is none. A dash pair
                // is no fraction: its sign is no operator either.
                {"giảm -5-10%", "giảm -5-10%"},
                {"-1/2", "-âm một trên hai"},
                {"(-3/4)", "(-âm ba trên bốn)"},
                {"a-3/4", "a-ba trên bốn"},
            });
}

// A dash pair is a date only when valid and zero-led or after a date word,
// a fraction only with math near; anything else (a range, a score, a span of
// what a counting word names) is left whole for the range step.
TEST(NormalizeDate, DashPairByContext) {
  ExpectAll(normalize_date, {
                                {"vào 2-9", "vào ngày hai tháng chín"},
                                {"x = 3-4", "x = ba trên bốn"},
                                {"2-3 lít", "2-3 lít"},
                                {"1-3 tháng", "1-3 tháng"},
                                {"0-5", "0-5"},
                                {"tỷ số 02-01", "tỷ số 02-01"},
                                {"thứ 2-6", "thứ 2-6"},
                                {"ngày 2-9 tháng 10", "ngày 2-9 tháng 10"},
                            });
}

// A part of the day, a span, occasion, deadline or street word before a valid
// slash pair, or «đến» and another date after it, makes a date.
TEST(NormalizeDate, SlashPairDateWords) {
  ExpectAll(normalize_date,
            {
                {"Chiều 5/5", "Chiều ngày năm tháng năm"},
                {"dịp 2/9", "dịp ngày hai tháng chín"},
                {"đường 3/2", "đường ba tháng hai"},
                {"30/4 đến 1/5", "ngày ba mươi tháng tư đến ngày một tháng năm"},
                {"30/4 đến 13/13", "ba mươi trên bốn đến 13/13"},
                {"tỷ lệ từ 1/3", "tỷ lệ từ một trên ba"},
                {"từ x = 1/3", "từ x = một trên ba"},
            });
}

TEST(NormalizeDate, SpansOfDates) {
  ExpectAll(normalize_date,
            {
                {"30/4-1/5", "ngày ba mươi tháng tư đến ngày một tháng năm"},
                {"15 – 20/6", "mười lăm đến hai mươi tháng sáu"},
                {"2-7/10/2023", "hai đến bảy tháng mười năm hai nghìn không trăm hai mươi ba"},
                {"ngày 15-20/6", "ngày mười lăm đến hai mươi tháng sáu"},
                // Not a span: the first day not before the last, an invalid
                // date, math near, or a sign.
                {"20-15/6", "20-15/6"},
                {"30/2-1/3", "30/2-một trên ba"},
                {"x = 1/2-1/3", "x = một trên hai-một trên ba"},
                {"5 -10/2", "5 -âm mười trên hai"},
            });
}

TEST(NormalizeDate, QuartersWithAYear) {
  ExpectAll(normalize_date, {
                                {"quý 2/2024", "quý hai năm hai nghìn không trăm hai mươi bốn"},
                                {"Quý III/2023", "Quý ba năm hai nghìn không trăm hai mươi ba"},
                                {"quý iv - 2023", "quý bốn năm hai nghìn không trăm hai mươi ba"},
                                // Not a quarter: read as before.
                                {"quý 5/2024", "quý tháng năm hai nghìn không trăm hai mươi bốn"},
                                {"quý 1/20245", "quý 1/20245"},
                            });
}

TEST(NormalizeDate, DocumentNumberIsNoMonthAndYear) {
  ExpectAll(normalize_date,
            {
                {"01/2024/TT-NHNN", "01/2024/TT-NHNN"},
                {"12/2023/QĐ", "12/2023/QĐ"},
                {"12/2023/5", "tháng mười hai năm hai nghìn không trăm hai mươi ba/5"},
            });
}

TEST(NormalizeDate, ZeroPaddedDayOrMonthAfterItsWord) {
  ExpectAll(normalize_date, {
                                {"ngày 01 tháng 01 năm 2025", "ngày 1 tháng 1 năm 2025"},
                                {"THÁNG  09", "THÁNG  9"},
                                {"ngày 010", "ngày 010"},
                                {"ngày 00", "ngày 00"},
                                {"lớp 01", "lớp 01"},
                                {"tháng 05.2024", "tháng năm hai nghìn không trăm hai mươi bốn"},
                            });
}

TEST(NormalizeDate, NumberOverCodeIsLeftWhole) {
  ExpectAll(normalize_date,
            {
                // Digits, "/", digits and a letter: read later as a code.
                {"Số nhà 12/3A", "Số nhà 12/3A"},
                // A unit after the second number makes no code: «5/10» is read.
                {"5/10kg", "năm trên mười kg"},
                {"ngày 5/10A", "ngày 5/10A"},
                {"5/2023A", "5/2023A"},
                // Numbers that lead a code and parts that follow it.
                {"ngõ 12/3/4B", "ngõ 12/3/4B"},
                {"12/3A/4/5", "12/3A/4/5"},
                {"12/3A,12/3B", "12/3A,12/3B"},
                // A dash, a space or a letter beyond ASCII makes no code: the
                // reading is kept apart from the letter.
                // (a dash pair is a range, left whole to the range step)
                {"3-5A", "3-5A"},
                {"3/5A", "3/5A"},
                {"3/5 A", "ba trên năm A"},
                {"12/3 A", "mười hai trên ba A"},
                {"3/4đ", "ba trên bốn đ"},
                {"4/2024đ", "tháng tư năm hai nghìn không trăm hai mươi bốn đ"},
            });
}

TEST(NormalizeDate, ReadingsStayApartFromGluedLetters) {
  ExpectAll(normalize_date,
            {
                {"nhà12/3", "nhà mười hai trên ba"},
                {"1/2/2023A", "ngày một tháng hai năm hai nghìn không trăm hai mươi ba A"},
                {"2023-04-05B", "ngày năm tháng tư năm hai nghìn không trăm hai mươi ba B"},
                // A match written back as it stood gets no space.
                {"13/13A", "13/13A"},
            });
}

TEST(NormalizeDate, DayMonthContextIsTheTextBeforeThePass) {
  // The first pair is read as a date; its «tháng» must not make the second,
  // which saw «05/06» in the text, a date too.
  EXPECT_EQ(normalize_date("05/06 3/4"), "ngày năm tháng sáu ba trên bốn");
  // The full date is read before the pair, and its «ngày» is a context word.
  EXPECT_EQ(normalize_date("từ 1/5 đến 30/6/2024"),
            "từ ngày một tháng năm đến ngày ba mươi tháng sáu năm hai nghìn không trăm hai "
            "mươi bốn");
}

TEST(NormalizeDate, DayMonthInALongUnbrokenRun) {
  // Every pair sees the same glued word; each reads as a fraction.
  std::string input;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    input += "1/2=";
    expected += "một trên hai=";
  }
  EXPECT_EQ(normalize_date(input), expected);
}

TEST(NormalizeDate, ReadDayMonthOnItsOwnReadsTheSubject) {
  const std::string subject = "sinh nhật 5/6";
  const auto m = RE_DAY_MONTH().find(subject);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(read_day_month(*m), "ngày năm tháng sáu");
}

// A reading leaves out its own word where the text says it already; two words
// that both stood in the text are never merged.
TEST(NormalizeDate, DoubledWordsCollapse) {
  ExpectAll(normalize_date,
            {
                {"NGÀY \t 15/8", "NGÀY \t mười lăm tháng tám"},
                {"hôm 5/6", "hôm năm tháng sáu"},
                {"ngày 2023-04-05", "ngày năm tháng tư năm hai nghìn không trăm hai mươi ba"},
                {"Tháng 4/2024", "Tháng tư năm hai nghìn không trăm hai mươi bốn"},
                {"15/5/2023", "ngày mười lăm tháng năm hai nghìn không trăm hai mươi ba"},
                {"ngày 15/5 năm 2023", "ngày mười lăm tháng năm 2023"},
                // The caller's own words stay.
                {"Năm năm qua", "Năm năm qua"},
                {"NGÀY \t ngày", "NGÀY \t ngày"},
                {"tháng Tháng", "tháng Tháng"},
                {"hôm ngày mai", "hôm ngày mai"},
                // Only white space between the words: «ngày, 15/8» keeps both.
                {"ngày, 15/8", "ngày, ngày mười lăm tháng tám"},
                {"ngàyngày", "ngàyngày"},
                {"", ""},
            });
}

// ---------------------------------------------------------------------------
// normalize_time

TEST(NormalizeTime, HoursMinutesSeconds) {
  constexpr std::string_view kTen = "mười giờ ba mươi phút bốn mươi lăm giây";
  ExpectAll(normalize_time,
            {
                {"10:30:45", kTen},
                {"10h30m45s", kTen},
                {"10g30p45", kTen},
                {"10H30M45 giây", kTen},
                {"08:05:09", "tám giờ năm phút chín giây"},
                {"00:00:00", "không giờ không phút không giây"},
                // No limits on any part.
                {"25:61:99", "hai mươi lăm giờ sáu mươi mốt phút chín mươi chín giây"},
            });
}

TEST(NormalizeTime, HoursAndMinutes) {
  constexpr std::string_view kHalfPastEight = "tám giờ ba mươi phút";
  ExpectAll(normalize_time,
            {
                {"8:30", kHalfPastEight},
                {"08:30", kHalfPastEight},
                {"8g30", kHalfPastEight},
                {"8G30", kHalfPastEight},
                {"8h05", "tám giờ năm phút"},
                {"23:59", "hai mươi ba giờ năm mươi chín phút"},
                // One minute digit only with a unit.
                {"8:5", "8:5"},
                {"8h5", "8h5"},
                {"8h5p", "tám giờ năm phút"},
                {"8h5 phút", "tám giờ năm phút"},
                // The unit is never written, whatever it says.
                {"2:30 giây", "hai giờ ba mươi phút"},
                // From 24 on, a colon form is minutes and seconds.
                {"24:00", "hai mươi bốn phút không giây"},
                {"25:30", "hai mươi lăm phút ba mươi giây"},
                {"25h30", "hai mươi lăm giờ ba mươi phút"},
                {"30h15", "ba mươi giờ mười lăm phút"},
                // An hour too large for 32 bits has no value: hours, not minutes.
                {"2147483647:30",
                 "hai tỷ một trăm bốn mươi bảy triệu bốn trăm tám mươi ba nghìn sáu trăm bốn "
                 "mươi bảy phút ba mươi giây"},
                {"2147483648:30",
                 "hai tỷ một trăm bốn mươi bảy triệu bốn trăm tám mươi ba nghìn sáu trăm bốn "
                 "mươi tám giờ ba mươi phút"},
                // Minutes out of range or with a decimal part stay.
                {"9:60", "9:60"},
                {"10:30.5", "10:30.5"},
                {"10:30,5", "10:30,5"},
                // Minutes in another script have no value.
                {"10:٣٠", "10:٣٠"},
            });
}

TEST(NormalizeTime, NumberOverCodeIsLeftWhole) {
  ExpectAll(normalize_time, {
                                {"12/3h30", "12/3h30"},
                                {"12/3h30m15", "12/3h30m15"},
                                {"12/3g sáng", "12/3g sáng"},
                                {"12/3A/4h30", "12/3A/4h30"},
                                // Not a code: a space or a colon after the digits.
                                {"12/ 3h30", "12/ ba giờ ba mươi phút"},
                                {"1/8:30", "1/tám giờ ba mươi phút"},
                            });
}

TEST(NormalizeTime, HoursWithAPartOfTheDayOrLuc) {
  ExpectAll(normalize_time, {
                                {"10g sáng", "mười giờ sáng"},
                                {"08g sáng", "tám giờ sáng"},
                                {"0g khuya", "không giờ khuya"},
                                {"12g trưa", "mười hai giờ trưa"},
                                {"10g Tối", "mười giờ Tối"},
                                {"lúc 8g", "lúc tám giờ"},
                                {"Lúc 08g", "lúc tám giờ"},
                                {"LÚC 00g", "lúc không giờ"},
                                // Minutes are read first, then a bare hour.
                                {"lúc 8g30", "lúc tám giờ ba mươi phút"},
                                {"lúc 10g sáng", "lúc mười giờ sáng"},
                                {"8g", "8g"},
                                {"", ""},
                            });
}

// ---------------------------------------------------------------------------
// Mixed inputs: both passes accept any valid text.

TEST(DatesTimes, AcceptMixedTextsWithoutFailing) {
  const std::vector<std::string_view> pieces = {
      "0", "1", "2", "5", "9", "12", "31", "2024", "٣", "/", "-", ".", ",", ":", "T",
      "Z", "g", "h", "p", "m", "s", "Q", "q", "\u212A", " ", "\n", "ngày", "NGÀY",
      "năm", "tháng", "hôm", "lúc", "sáng", "giây", "phút", "=", "x", "(", ")", "é",
  };
  std::mt19937 rng(20240815);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int i = 0; i < 3000; ++i) {
    std::string input;
    for (int n = length(rng); n > 0; --n) input += pieces[pick(rng)];
    EXPECT_NO_THROW({
      const std::string dated = normalize_date(input);
      normalize_time(dated);
    }) << "input: «" << input << "»";
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
