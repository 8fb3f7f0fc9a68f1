#include "vi_normalizer/resources.hpp"

// Every table is a function-local static: built by the first caller (others
// wait), never changed and never freed. Rows stand in a fixed order, which is
// the order the visiting readers see.

namespace vyr::vi_normalizer {

// Lower-case letter to its Vietnamese name; no "ă", "â" or capitals.
const TextMap& VI_LETTER_NAMES() {
  static const TextMap table({
      {"a", "a"},
      {"b", "bê"},
      {"c", "xê"},
      {"d", "đê"},
      {"đ", "đê"},
      {"e", "e"},
      {"ê", "ê"},
      {"f", "ép"},
      {"g", "gờ"},
      {"h", "hát"},
      {"i", "i"},
      {"j", "giây"},
      {"k", "ca"},
      {"l", "lờ"},
      {"m", "mờ"},
      {"n", "nờ"},
      {"o", "ô"},
      {"ô", "ô"},
      {"ơ", "ơ"},
      {"p", "pê"},
      {"q", "qui"},
      {"r", "rờ"},
      {"s", "ét"},
      {"t", "tê"},
      {"u", "u"},
      {"ư", "ư"},
      {"v", "vê"},
      {"w", "đắp liu"},
      {"x", "ích"},
      {"y", "y"},
      {"z", "dét"},
  });
  return table;
}

// Operators, currency, Greek, set and logic signs, vulgar fractions: a word with a
// space at each end. Look-alikes are distinct keys ("ε" U+03B5 vs "ϵ" U+03F5).
const CharMap& SYMBOLS_MAP() {
  static const CharMap table({
      {U'&', " và "},
      {U'+', " cộng "},
      {U'=', " bằng "},
      {U'#', " thăng "},
      {U'>', " lớn hơn "},
      {U'<', " nhỏ hơn "},
      {U'\u2265', " lớn hơn hoặc bằng "},  // ≥
      {U'\u2264', " nhỏ hơn hoặc bằng "},  // ≤
      {U'\u00B1', " cộng trừ "},  // ±
      {U'\u2248', " xấp xỉ "},  // ≈
      {U'/', " trên "},
      {U'\u2192', " đến "},  // →
      {U'\u00F7', " chia "},  // ÷
      {U'*', " sao "},
      {U'\u00D7', " nhân "},  // ×
      {U'^', " mũ "},
      {U'~', " khoảng "},
      {U'%', " phần trăm "},
      {U'$', " đô la "},
      {U'\u20AC', " ê rô "},  // €
      {U'\u00A3', " bảng "},  // £
      {U'\u00A5', " yên "},  // ¥
      {U'\u20A9', " won "},  // ₩
      {U'\u20AD', " kíp "},  // ₭
      {U'\u20B1', " bê xô "},  // ₱
      {U'\u0E3F', " bạc "},  // ฿
      {U'\u03A9', " ôm "},  // Ω
      {U'@', " a còng "},
      {U'\u2260', " khác "},  // ≠
      {U'\u2200', " với mọi "},  // ∀
      {U'\u220F', " tích "},  // ∏
      {U'\u2208', " thuộc "},  // ∈
      {U'\u2211', " tổng "},  // ∑
      {U'\u2229', " giao "},  // ∩
      {U'\u222A', " hội "},  // ∪
      {U'\u00AC', " phủ định "},  // ¬
      {U'\u221E', " vô cùng "},  // ∞
      {U'\u03B1', " an pha "},  // α
      {U'\u03B2', " bê ta "},  // β
      {U'\u03B3', " ga ma "},  // γ
      {U'\u03B4', " đen ta "},  // δ
      {U'\u03B5', " ép si lon "},  // ε
      {U'\u03F5', " thuộc "},  // ϵ
      {U'\u03B6', " de ta "},  // ζ
      {U'\u03B7', " ê ta "},  // η
      {U'\u03B8', " thê ta "},  // θ
      {U'\u03B9', " i ô ta "},  // ι
      {U'\u03BA', " cáp ba "},  // κ
      {U'\u03BB', " lam đa "},  // λ
      {U'\u1D27', " và "},  // ᴧ
      {U'\u03BC', " muy "},  // μ
      {U'\u0394', " đen ta "},  // Δ
      {U'\u03BD', " nu "},  // ν
      {U'\u03BE', " xi xi "},  // ξ
      {U'\u03BF', " o mi ron "},  // ο
      {U'\u03C0', " pi "},  // π
      {U'\u03C1', " ro "},  // ρ
      {U'\u03C3', " xích ma "},  // σ
      {U'\u03C4', " tao "},  // τ
      {U'\u03C5', " úp si lon "},  // υ
      {U'\u03C6', " phi "},  // φ
      {U'\u03C7', " chi "},  // χ
      {U'\u03C8', " si "},  // ψ
      {U'\u03C9', " ô me ga "},  // ω
      {U'\u00A9', " bản quyền "},  // ©
      {U'\u00BD', " một phần hai "},  // ½
      {U'\u00BC', " một phần tư "},  // ¼
      {U'\u00BE', " ba phần tư "},  // ¾
      {U'\u2153', " một phần ba "},  // ⅓
      {U'\u2154', " hai phần ba "},  // ⅔
      {U'\u2155', " một phần năm "},  // ⅕
      {U'\u2156', " hai phần năm "},  // ⅖
      {U'\u2157', " ba phần năm "},  // ⅗
      {U'\u2158', " bốn phần năm "},  // ⅘
      {U'\u215A', " năm phần sáu "},  // ⅚
      {U'\u2030', " phần nghìn "},  // ‰
      {U'\u2031', " phần vạn "},  // ‱
      {U'\u221A', " căn "},  // √
      {U'\u221B', " căn bậc ba "},  // ∛
      {U'\u221C', " căn bậc bốn "},  // ∜
      {U'\u2206', " đen ta "},  // ∆
      {U'\u222B', " tích phân "},  // ∫
      {U'\u2213', " trừ cộng "},  // ∓
      {U'\u2209', " không thuộc "},  // ∉
      {U'\u2203', " tồn tại "},  // ∃
      {U'\u2205', " rỗng "},  // ∅
      {U'\u2220', " góc "},  // ∠
      {U'\u22A5', " vuông góc "},  // ⊥
      {U'\u2225', " song song "},  // ∥
      {U'\u25B3', " tam giác "},  // △
      {U'\u21D2', " suy ra "},  // ⇒
      {U'\u21D4', " tương đương "},  // ⇔
  });
  return table;
}

// Superscript digits; ² and ³ read as square and cube.
const CharMap& SUPERSCRIPTS_MAP() {
  static const CharMap table({
      {U'\u2070', " không "},  // ⁰
      {U'\u00B9', " một "},  // ¹
      {U'\u00B2', " bình phương "},  // ²
      {U'\u00B3', " lập phương "},  // ³
      {U'\u2074', " bốn "},  // ⁴
      {U'\u2075', " năm "},  // ⁵
      {U'\u2076', " sáu "},  // ⁶
      {U'\u2077', " bảy "},  // ⁷
      {U'\u2078', " tám "},  // ⁸
      {U'\u2079', " chín "},  // ⁹
  });
  return table;
}

// Subscript digits: the digit's word.
const CharMap& SUBSCRIPTS_MAP() {
  static const CharMap table({
      {U'\u2080', " không "},  // ₀
      {U'\u2081', " một "},  // ₁
      {U'\u2082', " hai "},  // ₂
      {U'\u2083', " ba "},  // ₃
      {U'\u2084', " bốn "},  // ₄
      {U'\u2085', " năm "},  // ₅
      {U'\u2086', " sáu "},  // ₆
      {U'\u2087', " bảy "},  // ₇
      {U'\u2088', " tám "},  // ₈
      {U'\u2089', " chín "},  // ₉
  });
  return table;
}

// Capital Roman numeral letters only.
const CharIntMap& ROMAN_NUMERALS() {
  static const CharIntMap table({
      {U'I', 1},
      {U'V', 5},
      {U'X', 10},
      {U'L', 50},
      {U'C', 100},
      {U'D', 500},
      {U'M', 1000},
  });
  return table;
}

// Lower-case words that number what follows them, after which a Roman
// numeral is a number even of one letter: «thế kỷ V», «quý I», «chương X».
const TextSet& NUMBERING_WORDS() {
  static const TextSet table({
      "thế kỷ", "thế kỉ", "chương", "phần", "quý", "học kỳ", "học kì", "kỳ", "kì", "khóa", "khoá",
      "tập", "đại hội", "hội nghị", "điều", "mục", "phụ lục", "giai đoạn", "lần thứ", "thứ",
  });
  return table;
}

// Abbreviations people write that happen to be Roman numerals in standard
// form; without a numbering word before them they are read as acronyms.
const TextSet& ROMAN_LOOKING_ABBREVIATIONS() {
  static const TextSet table({"CV", "MC", "MV", "CD", "CI", "CC", "DC", "XL", "MD"});
  return table;
}

// Unit keys as written. Case and look-alikes matter: "M" (million) beside "m",
// "kWh" beside "kwh", "µm" (micro sign U+00B5) beside "μm" (Greek mu U+03BC).
const TextMap& MEASUREMENT_KEY_VI() {
  static const TextMap table({
      {"km", "ki lô mét"},
      {"dm", "đê xi mét"},
      {"cm", "xen ti mét"},
      {"mm", "mi li mét"},
      {"nm", "na nô mét"},
      {"\u00B5m", "mic rô mét"},  // µm U+00B5 U+006D
      {"\u03BCm", "mic rô mét"},  // μm U+03BC U+006D
      {"m", "mét"},
      {"kg", "ki lô gam"},
      {"g", "gam"},
      {"\u00B5g", "mic rô gam"},  // µg U+00B5 U+0067
      {"mg", "mi li gam"},
      {"km2", "ki lô mét vuông"},
      {"m2", "mét vuông"},
      {"cm2", "xen ti mét vuông"},
      {"mm2", "mi li mét vuông"},
      {"ha", "héc ta"},
      {"km3", "ki lô mét khối"},
      {"m3", "mét khối"},
      {"cm3", "xen ti mét khối"},
      {"mm3", "mi li mét khối"},
      {"l", "lít"},
      {"dl", "đê xi lít"},
      {"ml", "mi li lít"},
      {"hl", "héc tô lít"},
      {"kw", "ki lô oát"},
      {"mw", "mê ga oát"},
      {"gw", "gi ga oát"},
      {"kwh", "ki lô oát giờ"},
      {"kWh", "ki lô oát giờ"},
      {"mwh", "mê ga oát giờ"},
      {"wh", "oát giờ"},
      {"hz", "héc"},
      {"khz", "ki lô héc"},
      {"mhz", "mê ga héc"},
      {"ghz", "gi ga héc"},
      {"pa", "__start_en__pascal__end_en__"},
      {"kpa", "__start_en__kilopascal__end_en__"},
      {"mpa", "__start_en__megapascal__end_en__"},
      {"bar", "__start_en__bar__end_en__"},
      {"mbar", "__start_en__millibar__end_en__"},
      {"atm", "__start_en__atmosphere__end_en__"},
      {"psi", "__start_en__p s i__end_en__"},
      {"j", "__start_en__joule__end_en__"},
      {"kj", "__start_en__kilojoule__end_en__"},
      {"cal", "__start_en__calorie__end_en__"},
      {"kcal", "__start_en__kilocalorie__end_en__"},
      {"h", "giờ"},
      {"p", "phút"},
      {"s", "giây"},
      {"sqm", "mét vuông"},
      {"cum", "mét khối"},
      {"gb", "__start_en__gigabyte__end_en__"},
      {"mb", "__start_en__megabyte__end_en__"},
      {"kb", "__start_en__kilobyte__end_en__"},
      {"tb", "__start_en__terabyte__end_en__"},
      {"db", "__start_en__decibel__end_en__"},
      {"oz", "__start_en__ounce__end_en__"},
      {"lb", "__start_en__pound__end_en__"},
      {"lbs", "__start_en__pounds__end_en__"},
      {"ft", "__start_en__feet__end_en__"},
      {"in", "__start_en__inch__end_en__"},
      {"dpi", "__start_en__d p i__end_en__"},
      {"ph", "pê hát"},
      {"gbps", "__start_en__gigabits per second__end_en__"},
      {"mbps", "__start_en__megabits per second__end_en__"},
      {"kbps", "__start_en__kilobits per second__end_en__"},
      {"gallon", "__start_en__gallon__end_en__"},
      {"mol", "mol"},
      {"ms", "mi li giây"},
      {"M", "triệu"},
      {"B", "tỷ"},
  });
  return table;
}

// Unit symbols of spec sheets read only in their written case: where another
// case names another unit («mW» beside «MW», «Nm» beside «nm») or is a word
// or a letter («W», «V»).
const TextMap& CASED_UNIT_KEY() {
  static const TextMap table({
      {"W", "oát"},
      {"mW", "mi li oát"},
      {"V", "vôn"},
      {"kV", "ki lô vôn"},
      {"mV", "mi li vôn"},
      {"mA", "mi li am pe"},
      {"mAh", "mi li am pe giờ"},
      {"hPa", "__start_en__hectopascal__end_en__"},
      {"Nm", "niu tơn mét"},
      {"N\u00B7m", "niu tơn mét"},  // N·m, U+00B7
  });
  return table;
}

// Currency keys as written; the unit builders skip the "%" row.
const TextMap& CURRENCY_KEY() {
  static const TextMap table({
      {"usd", "__start_en__u s d__end_en__"},
      {"vnd", "việt nam đồng"},
      {"vnđ", "việt nam đồng"},
      {"đ", "đồng"},
      {"v n d", "việt nam đồng"},
      {"v n đ", "việt nam đồng"},
      {"\u20AC", "__start_en__euro__end_en__"},  // € U+20AC
      {"euro", "__start_en__euro__end_en__"},
      {"eur", "__start_en__euro__end_en__"},
      {"\u00A5", "yên"},  // ¥ U+00A5
      {"yên", "yên"},
      {"jpy", "yên"},
      {"%", "phần trăm"},
  });
  return table;
}

// Currency signs, one character each.
const TextMap& CURRENCY_SYMBOL_MAP() {
  static const TextMap table({
      {"$", "__start_en__u s d__end_en__"},
      {"\u20AC", "__start_en__euro__end_en__"},  // € U+20AC
      {"\u00A5", "yên"},  // ¥ U+00A5
      {"\u00A3", "__start_en__pound__end_en__"},  // £ U+00A3
      {"\u20A9", "won"},  // ₩ U+20A9
  });
  return table;
}

// Words near a day/month form that speak for a date.
const TextSet& DATE_KEYWORDS() {
  static const TextSet table({
      "vào",
      "ngày",
      "hôm",
      "hôm nay",
      "hôm qua",
      "hôm kia",
      "mai",
      "ngày mai",
      "ngày kia",
      "sinh",
      "sinh nhật",
      "kỷ niệm",
      "lễ",
      "tết",
      "diễn ra",
      "tổ chức",
      "thứ",
      "tuần",
      "tháng",
      "năm",
  });
  return table;
}

// Words near a day/month form that speak for a fraction.
const TextSet& MATH_KEYWORDS() {
  static const TextSet table({
      "cộng",
      "trừ",
      "nhân",
      "chia",
      "bằng",
      "sin",
      "cos",
      "tan",
      "log",
      "sqrt",
      "xác suất",
      "tỷ lệ",
      "tỉ lệ",
  });
  return table;
}

// Words before a pair of numbers joined by a dash that make it a score, read
// as two numbers: «tỷ số 2-1», «thắng Indonesia 3-0». Two-word entries match
// two words in a row.
const TextSet& SCORE_WORDS() {
  static const TextSet table({
      "tỷ số",
      "tỉ số",
      "kết quả",
      "thắng",
      "thua",
      "hòa",
      "hoà",
      "dẫn",
      "gỡ",
      "chung cuộc",
      "cách biệt",
  });
  return table;
}

// Words before a day/month pair written with "/" that make it a date besides
// DATE_KEYWORDS: the parts of the day, the words of a span or a deadline, an
// occasion, and streets named after a date («đường 3/2»).
const TextSet& SLASH_DATE_KEYWORDS() {
  static const TextSet table({
      "sáng",
      "trưa",
      "chiều",
      "tối",
      "đêm",
      "khuya",
      "từ",
      "đến",
      "dịp",
      "hạn",
      "đường",
      "phố",
  });
  return table;
}

// Words that say what the number right after them counts («thứ 2-6», «tháng
// 1-3»): a dash pair after one is a span of those, never a day and month.
const TextSet& COUNTING_WORDS() {
  static const TextSet table({
      "thứ",
      "tuần",
      "tháng",
      "năm",
      "quý",
  });
  return table;
}

// Vietnamese acronyms ("Đ" is U+0110) to their expansions.
const TextMap& ACRONYMS_EXCEPTIONS_VI() {
  static const TextMap table({
      {"CĐV", "cổ động viên"},
      {"HĐND", "hội đồng nhân dân"},
      {"HĐQT", "hội đồng quản trị"},
      {"TAND", "toà án nhân dân"},  // the court: "toà", not "toàn"
      {"BHXH", "bảo hiểm xã hội"},
      {"BHTN", "bảo hiểm thất nghiệp"},
      {"TP.HCM", "thành phố hồ chí minh"},
      {"VN", "việt nam"},
      {"UBND", "uỷ ban nhân dân"},
      {"TP", "thành phố"},
      {"HCM", "hồ chí minh"},
      {"HN", "hà nội"},
      {"BTC", "ban tổ chức"},
      {"CLB", "câu lạc bộ"},
      {"HTX", "hợp tác xã"},
      {"NXB", "nhà xuất bản"},
      {"TW", "trung ương"},
      {"CSGT", "cảnh sát giao thông"},
      {"LHQ", "liên hợp quốc"},
      {"THCS", "trung học cơ sở"},
      {"THPT", "trung học phổ thông"},
      {"ĐH", "đại học"},
      {"HLV", "huấn luyện viên"},
      {"GS", "giáo sư"},
      {"TS", "tiến sĩ"},
      {"TNHH", "trách nhiệm hữu hạn"},
      {"VĐV", "vận động viên"},
      {"TPHCM", "thành phố hồ chí minh"},
      {"PGS", "phó giáo sư"},
      {"SP500", "ét pê năm trăm"},
      {"PGS.TS", "phó giáo sư tiến sĩ"},
      {"GS.TS", "giáo sư tiến sĩ"},
      {"ThS", "thạc sĩ"},
      {"BS", "bác sĩ"},
      {"UAE", "u a e"},
      {"CUDA", "cu đa"},
  });
  return table;
}

// Technical terms and formulas, mostly read in English.
const TextMap& TECHNICAL_TERMS() {
  static const TextMap table({
      {"JSON", "__start_en__j son__end_en__"},
      {"VRAM", "__start_en__v ram__end_en__"},
      {"NVIDIA", "__start_en__n v d a__end_en__"},
      {"VN-Index", "__start_en__v n__end_en__ index"},
      {"MS DOS", "__start_en__m s dos__end_en__"},
      {"MS-DOS", "__start_en__m s dos__end_en__"},
      {"B2B", "__start_en__b two b__end_en__"},
      {"MI5", "__start_en__m i five__end_en__"},
      {"MI6", "__start_en__m i six__end_en__"},
      {"2FA", "__start_en__two f a__end_en__"},
      {"TX-0", "__start_en__t x zero__end_en__"},
      {"IPv6", "__start_en__i p v__end_en__ sáu"},
      {"IPv4", "__start_en__i p v__end_en__ bốn"},
      {"Washington D.C", "__start_en__washington d c__end_en__"},
      {"Washington DC", "__start_en__washington d c__end_en__"},
      {"HCN", "hát xê nờ"},
      {"HF", "hát ép"},
      {"KI", "ca i"},
      {"KOH", "ca ô hát"},
  });
  return table;
}

// Every exception row, then every technical term; a key present in both would
// keep the technical reading (the two share none). The rows view the same
// static literals as their sources, so they live as long as the process.
const TextMap& COMBINED_EXCEPTIONS() {
  static const TextMap table = [] {
    const TextMap& acronyms = ACRONYMS_EXCEPTIONS_VI();
    const TextMap& terms = TECHNICAL_TERMS();
    std::vector<TextMap::Row> rows(acronyms.begin(), acronyms.end());
    rows.insert(rows.end(), terms.begin(), terms.end());
    return TextMap(std::move(rows));
  }();
  return table;
}

// Capital words read as English words rather than spelled.
const TextSet& WORD_LIKE_ACRONYMS() {
  static const TextSet table({
      "UNESCO",
      "NASA",
      "NATO",
      "ASEAN",
      "OPEC",
      "SARS",
      "FIFA",
      "UNIC",
      "RAM",
      "VRAM",
      "COVID",
      "IELTS",
      "STEM",
      "SWAT",
      "SEAL",
      "WASP",
      "COBOL",
      "BASIC",
      "OLED",
      "COVAX",
      "BRICS",
      "APEC",
      "VUCA",
      "PERMA",
      "DINK",
      "MENA",
      "EPIC",
      "OASIS",
      "BASE",
      "DART",
      "IDEA",
      "CHAOS",
      "SMART",
      "FANG",
      "BLEU",
      "REST",
      "ERROR",
      "SELECT",
      "FROM",
      "WHERE",
      "ORDER",
      "BY",
      "LIMIT",
      "OFFSET",
      "GROUP",
      "HAVING",
      "JOIN",
      "LEFT",
      "RIGHT",
      "INNER",
      "OUTER",
      "ON",
      "AS",
      "AND",
      "OR",
      "NOT",
      "IN",
      "BETWEEN",
      "LIKE",
      "IS",
      "NULL",
      "TRUE",
      "FALSE",
      "CASE",
      "WHEN",
      "THEN",
      "ELSE",
      "END",
      "UNION",
      "INTERSECT",
      "EXCEPT",
      "DESC",
  });
  return table;
}

// Written abbreviations; the first two values begin with a space.
const TextMap& ABBRS() {
  static const TextMap table({
      {"v.v", " vân vân"},
      {"v/v", " về việc"},
      {"đ/c", "địa chỉ"},
  });
  return table;
}

// Domain suffixes without their dot.
const TextMap& DOMAIN_SUFFIX_MAP() {
  static const TextMap table({
      {"com", "com"},
      {"vn", "__start_en__v n__end_en__"},
      {"net", "nét"},
      {"org", "o rờ gờ"},
      {"edu", "__start_en__edu__end_en__"},
      {"gov", "gờ o vê"},
      {"io", "__start_en__i o__end_en__"},
      {"biz", "biz"},
      {"info", "info"},
  });
  return table;
}

// Whole lower-case domains of widely used mail providers, read in advance:
// the provider in English, then the suffix as the domain reader speaks it.
const TextMap& COMMON_EMAIL_DOMAINS() {
  static const TextMap table({
      {"gmail.com", "__start_en__g mail__end_en__ chấm com"},
      {"yahoo.com", "__start_en__yahoo__end_en__ chấm com"},
      {"outlook.com", "__start_en__outlook__end_en__ chấm com"},
      {"hotmail.com", "__start_en__hot mail__end_en__ chấm com"},
      {"icloud.com", "__start_en__i cloud__end_en__ chấm com"},
      {"yahoo.com.vn", "__start_en__yahoo__end_en__ chấm com chấm __start_en__v n__end_en__"},
      {"fpt.vn", "__start_en__f p t__end_en__ chấm __start_en__v n__end_en__"},
      {"vnn.vn", "__start_en__v n n__end_en__ chấm __start_en__v n__end_en__"},
  });
  return table;
}

}  // namespace vyr::vi_normalizer
