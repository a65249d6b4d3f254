// Calendar arithmetic over day numbers, the FormatDateTime picture interpreter and the
// scanner of the fixed date and time forms.
#include "base/date_time.h"

#include <cmath>

#include "base/cp932.h"
#include "base/paths.h"
#include "base/time_zone.h"

namespace kestrin {
namespace {

constexpr const char* kShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kLongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kLongMonthNames[12] = {"January", "February", "March", "April", "May", "June",
                                             "July", "August", "September", "October", "November", "December"};
constexpr std::string_view kAM = "AM";
constexpr std::string_view kPM = "PM";
// Days from 0000-03-01 to 1899-12-30 in the era arithmetic below.
constexpr int64_t kEpochShift = 693899;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
  return s.size() - at >= word.size() && iequals(s.substr(at, word.size()), word);
}

// ---- FormatDateTime ----

class DatePicture {
public:
  DatePicture(const DateTimeFields& f, std::string& out) : f_(f), out_(out) {}
  void Append(std::string_view pic, int depth);

private:
  void Number(int64_t v, size_t digits) {
    std::string text = std::to_string(v < 0 ? -v : v);
    if (v < 0) out_ += '-';
    if (text.size() < digits) out_.append(digits - text.size(), '0');
    out_ += text;
  }
  int WeekDay() const { return DayOfWeek(DaysFromCivil(f_.year, f_.month, f_.day)); }
  bool TwelveHourClock(std::string_view pic, size_t from) const;
  size_t AmPm(std::string_view pic, size_t at);

  const DateTimeFields& f_;
  std::string& out_;
};

// Looks ahead from an hour specifier: the clock has 12 hours when the next unquoted "a"
// before another hour starts am/pm, a/p or ampm.
bool DatePicture::TwelveHourClock(std::string_view pic, size_t from) const {
  bool quoted = false;
  for (size_t p = from; p < pic.size(); ++p) {
    const char c = pic[p];
    if (is_cp932_lead(static_cast<unsigned char>(c))) ++p;
    else if (c == '\'' || c == '"') quoted = !quoted;
    else if (!quoted && (c == 'h' || c == 'H')) return false;
    else if (!quoted && (c == 'a' || c == 'A'))
      return StartsWithNoCase(pic, p, "am/pm") || StartsWithNoCase(pic, p, "a/p") || StartsWithNoCase(pic, p, "ampm");
  }
  return false;
}

// An "a" at `at`: am/pm and a/p in the case written, ampm as AM or PM, else the letter.
// Returns the characters used.
size_t DatePicture::AmPm(std::string_view pic, size_t at) {
  const bool pm = f_.hour >= 12;
  if (StartsWithNoCase(pic, at, "am/pm")) {
    out_ += pic.substr(at + (pm ? 3 : 0), 2);
    return 5;
  }
  if (StartsWithNoCase(pic, at, "a/p")) {
    out_ += pic[at + (pm ? 2 : 0)];
    return 3;
  }
  if (StartsWithNoCase(pic, at, "ampm")) {
    out_ += pm ? kPM : kAM;
    return 4;
  }
  out_ += pic[at];
  return 1;
}

// One flat pass over the picture: each specifier letter with its repeat count.
void DatePicture::Append(std::string_view pic, int depth) {
  char last = 0;  // the last specifier letter, upper case
  size_t p = 0;
  while (p < pic.size()) {
    const char starter = pic[p];
    size_t count = 1;
    while (p + count < pic.size() && pic[p + count] == starter) ++count;
    char token = Upper(starter);
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && last == 'H') token = 'N';
      last = token;
    }
    size_t used = count;
    switch (token) {
      case 'Y':
        if (count <= 2) Number(f_.year % 100, 2);
        else Number(f_.year, 4);
        break;
      case 'M':
        if (count <= 2) Number(f_.month, count);
        else out_ += (count == 3 ? kShortMonthNames : kLongMonthNames)[(f_.month + 11) % 12];
        break;
      case 'D':
        if (count <= 2) Number(f_.day, count);
        else if (count == 3) out_ += kShortDayNames[WeekDay()];
        else if (count == 4) out_ += kLongDayNames[WeekDay()];
        else if (depth < 2) Append(count == 5 ? kShortDateFormat : kLongDateFormat, depth + 1);
        break;
      case 'H': {
        int32_t h = f_.hour;
        if (TwelveHourClock(pic, p + count)) h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
        Number(h, count > 2 ? 2 : count);
        break;
      }
      case 'N': Number(f_.minute, count > 2 ? 2 : count); break;
      case 'S': Number(f_.second, count > 2 ? 2 : count); break;
      case 'Z': Number(f_.millisecond, count == 1 ? 1 : 3); break;
      case 'T':
        if (depth < 2) Append(count == 1 ? kShortTimeFormat : kLongTimeFormat, depth + 1);
        break;
      case 'C':
        used = 1;
        if (depth < 2) {
          Append(kShortDateFormat, depth + 1);
          if (f_.hour || f_.minute || f_.second || f_.millisecond) {
            out_ += ' ';
            Append(kLongTimeFormat, depth + 1);
          }
        }
        break;
      case 'A': used = AmPm(pic, p); break;
      case '/': used = 1; out_ += kDateSeparator; break;
      case ':': used = 1; out_ += kTimeSeparator; break;
      case '\'':
      case '"': {
        const size_t close = pic.find(starter, p + 1);
        const size_t end = close == std::string_view::npos ? pic.size() : close;
        out_ += pic.substr(p + 1, end - p - 1);
        used = end - p + (close == std::string_view::npos ? 0 : 1);
        break;
      }
      default:
        // A double-byte character goes whole, so that its trail byte is never a specifier.
        used = is_cp932_lead(static_cast<unsigned char>(starter)) && p + 1 < pic.size() ? 2 : 1;
        out_ += pic.substr(p, used);
        break;
    }
    p += used;
  }
}

// ---- scanning the fixed forms ----

class Scanner {
public:
  explicit Scanner(std::string_view s) : s_(s) {}
  void Blanks() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }
  bool AtEnd() {
    Blanks();
    return pos_ >= s_.size();
  }
  // At most four digits after blanks.
  bool Number(int32_t& value, size_t& digits) {
    Blanks();
    value = 0;
    digits = 0;
    while (pos_ < s_.size() && digits < 4 && s_[pos_] >= '0' && s_[pos_] <= '9') {
      value = value * 10 + (s_[pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool Number(int32_t& value) {
    size_t digits;
    return Number(value, digits);
  }
  bool Char(char c) {
    Blanks();
    if (pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool Word(std::string_view w) {
    Blanks();
    if (!StartsWithNoCase(s_, pos_, w)) return false;
    pos_ += w.size();
    return true;
  }
  size_t pos() const { return pos_; }
  void Reset() { pos_ = 0; }

private:
  std::string_view s_;
  size_t pos_ = 0;
};

// Two-digit years fall in the hundred years from 50 years before the current year.
int32_t FullYear(int32_t year, size_t digits, int32_t current_year) {
  if (year > 99 || digits > 2) return year;
  const int32_t pivot = current_year - 50;
  int32_t full = year + pivot / 100 * 100;
  if (full < pivot) full += 100;
  return full;
}

bool ScanDate(Scanner& in, int32_t current_year, DateTimeFields& f) {
  int32_t n1, n2, n3;
  size_t digits1, digits3;
  if (!in.Number(n1, digits1) || !in.Char(kDateSeparator) || !in.Number(n2)) return false;
  if (in.Char(kDateSeparator)) {
    if (!in.Number(n3, digits3)) return false;
    f.year = FullYear(n1, digits1, current_year);
    f.month = n2;
    f.day = n3;
  } else {
    f.year = current_year;
    f.month = n1;
    f.day = n2;
  }
  return IsValidDate(f.year, f.month, f.day);
}

bool ScanClock(Scanner& in, DateTimeFields& f) {
  int32_t base = -1;
  if (in.Word(kAM)) base = 0;
  else if (in.Word(kPM)) base = 12;
  int32_t h, n = 0, s = 0, z = 0;
  if (!in.Number(h)) return false;
  if (in.Char(kTimeSeparator)) {
    if (!in.Number(n)) return false;
    if (in.Char(kTimeSeparator)) {
      if (!in.Number(s)) return false;
      if (in.Char('.') && !in.Number(z)) return false;
    }
  }
  if (base < 0) {
    if (in.Word(kAM)) base = 0;
    else if (in.Word(kPM)) base = 12;
  }
  if (base >= 0) {
    if (h == 0 || h > 12) return false;
    h = (h == 12 ? 0 : h) + base;
  }
  if (!in.AtEnd() || !IsValidTime(h, n, s, z)) return false;
  f.hour = h;
  f.minute = n;
  f.second = s;
  f.millisecond = z;
  return true;
}

}  // namespace

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeapYear(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[(month + 11) % 12];
}

bool IsValidDate(int64_t year, int64_t month, int64_t day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, static_cast<int>(month));
}

bool IsValidTime(int64_t hour, int64_t minute, int64_t second, int64_t millisecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 && millisecond >= 0 &&
         millisecond < 1000;
}

// Eras of 400 years from 0000-03-01, so that leap days end each era's years.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  const int64_t y = year - (month <= 2);
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - kEpochShift;
}

DateTimeFields FieldsFromMs(int64_t ms) {
  const int64_t days = FloorDiv(ms, kMsPerDay);
  int64_t rest = ms - days * kMsPerDay;
  const int64_t z = days + kEpochShift;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  DateTimeFields f;
  f.day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  f.month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  f.year = static_cast<int32_t>(yoe + era * 400 + (f.month <= 2));
  f.hour = static_cast<int32_t>(rest / 3600000);
  rest %= 3600000;
  f.minute = static_cast<int32_t>(rest / 60000);
  rest %= 60000;
  f.second = static_cast<int32_t>(rest / 1000);
  f.millisecond = static_cast<int32_t>(rest % 1000);
  return f;
}

int64_t MsFromFields(const DateTimeFields& f) {
  return DaysFromCivil(f.year, f.month, f.day) * kMsPerDay + int64_t{f.hour} * 3600000 + int64_t{f.minute} * 60000 +
         int64_t{f.second} * 1000 + f.millisecond;
}

int DayOfWeek(int64_t days) { return static_cast<int>(days + 6 - FloorDiv(days + 6, 7) * 7); }  // 1899-12-30: Saturday

std::optional<int64_t> DayCountToMs(double days) {
  const double ms = std::nearbyint(days * static_cast<double>(kMsPerDay));
  if (!(std::fabs(ms) < 9.0e15)) return std::nullopt;  // also NaN; ~285,000 years either way
  return static_cast<int64_t>(ms);
}

double MsToDayCount(int64_t ms) { return static_cast<double>(ms) / static_cast<double>(kMsPerDay); }

std::string FormatDateTime(std::string_view picture, const DateTimeFields& f) {
  std::string out;
  DatePicture(f, out).Append(picture.empty() ? std::string_view("c") : picture, 0);
  return out;
}

std::optional<ScannedDateTime> ScanDateTime(std::string_view text, int32_t current_year) {
  ScannedDateTime result;
  Scanner in(text);
  if (ScanDate(in, current_year, result.fields) && (in.AtEnd() || ScanClock(in, result.fields))) {
    result.has_date = true;
    return result;
  }
  std::optional<DateTimeFields> time = ScanTime(text);
  if (!time) return std::nullopt;
  result.fields = *time;
  return result;
}

std::optional<DateTimeFields> ScanTime(std::string_view text) {
  Scanner in(text);
  DateTimeFields f;
  if (!ScanClock(in, f)) return std::nullopt;
  return f;
}

std::optional<DateTimeFields> StrToDateTime(std::string_view text) {
  std::optional<ScannedDateTime> scanned = ScanDateTime(text, LocalNow().year);
  if (!scanned) return std::nullopt;
  return scanned->fields;
}

}  // namespace kestrin
