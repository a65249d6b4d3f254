// FTP listing lines against a fixed clock: Unix and DOS lines, the year rules, the lines
// that give no entry, and the list with its name index.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "script/objects/net/ftp_listing.h"

namespace kestrin::script {
namespace {

TDateTime at(int y, int m, int d, int h = 0, int n = 0) {
  TSystemTime t;
  t.Year = y, t.Month = m, t.Day = d, t.Hour = h, t.Minute = n;
  TDateTime out = 0;
  EXPECT_TRUE(EncodeDateTime(t, out));
  return out;
}

const TDateTime kNow = at(2024, 6, 15, 12, 0);

TEST(FtpListing, ParsesLinesAgainstAFixedClock) {
  using P = TFTPFileProperty;
  const struct {
    const char* line;
    bool accepted;
    uint8_t kind;
    int64_t size;
    const char* name;
    TDateTime date;
  } cases[] = {
      {"-rw-r--r--   1 owner    group        1234 Mar 05 10:20 data.bin", true, P::kFile, 1234, "data.bin", at(2024, 3, 5, 10, 20)},
      {"drwxr-xr-x   2 owner    group        4096 Jun 15 11:59 sub", true, P::kDirectory, 4096, "sub", at(2024, 6, 15, 11, 59)},
      {"-rw-r--r--   1 owner    group          12 Jan 31  2019 old.txt", true, P::kFile, 12, "old.txt", at(2019, 1, 31)},
      // A time in a later month than now is last year's.
      {"-rw-r--r--   1 owner    group          12 Sep 01 08:00 sept.txt", true, P::kFile, 12, "sept.txt", at(2023, 9, 1, 8, 0)},
      // Within a day of now: the server's clock or zone, not last year.
      {"-rw-r--r--   1 owner    group          12 Jun 15 20:00 fresh.txt", true, P::kFile, 12, "fresh.txt", at(2024, 6, 15, 20, 0)},
      // An explicit year is never moved.
      {"-rw-r--r--   1 owner    group          12 Dec 24  2030 future.txt", true, P::kFile, 12, "future.txt", at(2030, 12, 24)},
      // A link keeps its last word, and its date words are read from the wrong places.
      {"lrwxrwxrwx   1 owner    group           7 Jun 01 09:00 link -> target", true, P::kLink, 7, "target", kNow},
      {"-rw-r--r--   1 owner    group          12 Feb 30 08:00 nodate.txt", true, P::kFile, 12, "nodate.txt", kNow},
      {"total 12", false, P::kNone, 0, "", kNow},
      {"TOTAL 12", false, P::kNone, 0, "", kNow},
      {"", false, P::kNone, 0, "", kNow},
      {"   ", false, P::kNone, 0, "", kNow},
      {"srwxrwxrwx   1 owner    group           0 Jun 01 09:00 socket", false, P::kNone, 0, "", kNow},
      {"crw-rw-rw-   1 owner    group   1, 3 Jun 01 09:00 null", false, P::kNone, 0, "", kNow},
      {"-rw short", false, P::kNone, 0, "", kNow},
      {"bare-name.txt", true, P::kFile, 0, "bare-name.txt", kNow},
      {"12-05-23  03:15PM       <DIR>          folder", true, P::kDirectory, 0, "folder", at(2023, 12, 5, 15, 15)},
      {"01-02-24  12:05AM            1,234,567 big.iso", true, P::kFile, 1234567, "big.iso", at(2024, 1, 2, 0, 5)},
      {"07-04-99  11:00AM                   10 old.txt", true, P::kFile, 10, "old.txt", at(1999, 7, 4, 11, 0)},
      {"07-04-2024  13:30                   10 y4.txt", true, P::kFile, 10, "y4.txt", at(2024, 7, 4, 13, 30)},
      {"13-45-24  03:15PM                   10 bad-date.txt", false, P::kNone, 0, "", kNow},
      {"2024 something else entirely", false, P::kNone, 0, "", kNow},
      {"+weird line here", false, P::kNone, 0, "", kNow},
  };
  for (const auto& c : cases) {
    TFTPFileProperty entry;
    EXPECT_EQ(ParseFtpListLine(c.line, lsAutomatic, kNow, entry), c.accepted) << c.line;
    if (!c.accepted) continue;
    EXPECT_EQ(entry.Kind, c.kind) << c.line;
    EXPECT_EQ(entry.Size, c.size) << c.line;
    EXPECT_EQ(entry.Name, c.name) << c.line;
    EXPECT_DOUBLE_EQ(entry.Date, c.date) << c.line;
    EXPECT_EQ(entry.Line, c.line);
    EXPECT_EQ(entry.Mode(), 0);
  }
}

TEST(FtpListing, MalformedSizeOfAnAcceptedLineRaises) {
  TFTPFileProperty entry;
  for (const char* line : {"-rw-r--r--   1 owner    group    12x4 Mar 05 10:20 data.bin",
                           "01-02-24  12:05AM            12.5 big.iso"})
    EXPECT_THROW(ParseFtpListLine(line, lsAutomatic, kNow, entry), ConversionError) << line;
  // A forced style parses only its own lines.
  EXPECT_FALSE(ParseFtpListLine("01-02-24  12:05AM   12 a", lsUnix, kNow, entry));
  EXPECT_FALSE(ParseFtpListLine("-rw-r--r-- 1 o g 12 Mar 05 10:20 a", lsDos, kNow, entry));
}

TEST(FtpListing, KeepsDuplicatesAndIndexesTheLaterOne) {
  TFTPDirectoryList list;
  list.Now = [] { return kNow; };
  list.Add("total 3");
  list.Add("-rw-r--r--   1 o g 10 Mar 05 10:20 same");
  list.Add("drwxr-xr-x   1 o g 20 Mar 05 10:20 same");
  list.Add("-rw-r--r--   1 o g 30 Mar 05 10:20 other");
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_TRUE(list.HasName("same"));
  EXPECT_FALSE(list.HasName("SAME"));
  EXPECT_EQ(list.Find("same")->Size, 20);
  list.Delete(1);
  EXPECT_FALSE(list.HasName("same"));  // the index pointed at the deleted entry
  EXPECT_EQ(list.Count(), 2u);

  TFTPDirectoryList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.Count(), 2u);
  EXPECT_EQ(copy.Find("other")->Size, 30);

  // NLST names keep their blanks, and "total..." is a name like any other.
  TFTPDirectoryList names;
  names.AddName("my file.txt");
  names.AddName("totals.csv");
  names.AddName("");
  ASSERT_EQ(names.Count(), 2u);
  EXPECT_TRUE(names.HasName("my file.txt"));
  EXPECT_TRUE(names.HasName("totals.csv"));
}

TEST(FtpListing, ModeNumberSumsTheFlags) {
  TFTPFileProperty entry;
  const bool rwxr_xr_x[9] = {true, true, true, true, false, true, true, false, true};
  std::copy(std::begin(rwxr_xr_x), std::end(rwxr_xr_x), entry.Permissions);
  EXPECT_EQ(entry.Mode(), 755);
}

}  // namespace
}  // namespace kestrin::script
