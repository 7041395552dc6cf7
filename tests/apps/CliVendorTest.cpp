// The reader on the files Taiwan's users have (tests/data/cli/vendor/): one table per input
// family, each good file checked for its first and last bar and its count, each bad file for
// its exact message. Large inputs are generated here.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ChartInput.h"
#include "RenderRequest.h"
#include "CsvFields.h"
#include "CsvReader.h"
#include "DateTimeFields.h"
#include "TradeSlots.h"
#include "TradingDays.h"

namespace {

using namespace kelo::cli;

const std::string kVendor = std::string(KELOCHART_TEST_DATA_DIR) + "/vendor/";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A bar as "date time open high low close volume inner/outer @line".
std::string Text(const MinuteBar& b) {
  std::ostringstream s;
  s << b.date << " " << FormatClock(b.time, true) << " " << b.open << " " << b.high << " " << b.low << " " << b.close
    << " " << b.volume << " " << b.inner << "/" << b.outer << " @" << b.line;
  return s.str();
}

MinuteBars Read(const std::string& file, Encoding encoding = Encoding::Auto) {
  auto data = ParseMinuteBars(file, Slurp(kVendor + file), ReadOptions{encoding});
  if (auto* e = std::get_if<InputError>(&data)) ADD_FAILURE() << e->Text();
  return std::get_if<MinuteBars>(&data) ? std::get<MinuteBars>(data) : MinuteBars{};
}

// The first error on the way from file to chart input, as the tool prints it.
std::string ErrorOf(const std::string& file, InputOptions options = {}) {
  auto in = ReadChartInput(kVendor + file, options);
  auto* e = std::get_if<InputError>(&in);
  return e ? e->Text().substr(kVendor.size()) : "";
}

struct GoodFile {
  const char* file;
  std::size_t count;
  const char* first;
  const char* last;
  std::int32_t priceScale = 100;
};

void CheckGood(const GoodFile& g, Encoding encoding = Encoding::Auto) {
  SCOPED_TRACE(g.file);
  const MinuteBars m = Read(g.file, encoding);
  ASSERT_EQ(m.bars.size(), g.count);
  EXPECT_EQ(Text(m.bars.front()), g.first);
  EXPECT_EQ(Text(m.bars.back()), g.last);
  EXPECT_EQ(m.priceScale, g.priceScale);
}

TEST(CliVendor, ChineseHeadersInEveryEncoding) {
  const GoodFile cases[] = {
      {"utf8_bom_chinese_headers.csv", 6, "0 09:01:00 3000 3000 2995 3000 2716 0/0 @2",
       "0 09:06:00 2985 2995 2985 2995 2633 0/0 @7"},
      {"big5_broker_crlf.csv", 6, "20261204 09:01:00 3000 3010 2995 3010 253 101/152 @2",
       "20261204 09:06:00 3020 3030 3020 3030 2585 1034/1551 @7"},
      {"utf16le_excel_unicode_text.txt", 6, "0 09:01:00 3000 3005 2990 2995 1336 0/0 @2",
       "0 09:06:00 3010 3025 3010 3020 1451 0/0 @7"},
      {"utf16be_bom.csv", 6, "0 09:01:00 3000 3005 2990 2995 1336 0/0 @2",
       "0 09:06:00 3010 3025 3010 3020 1451 0/0 @7"},
  };
  for (const GoodFile& g : cases) CheckGood(g);
  // Named encodings read the same; a wrong one is refused at the first byte it lacks.
  CheckGood(cases[1], Encoding::Big5);
  CheckGood(cases[2], Encoding::Utf16);
  EXPECT_EQ(ErrorOf("big5_broker_crlf.csv", {.encoding = "utf-8"}),
            "big5_broker_crlf.csv:1:1: not UTF-8 text (byte 0xA4): give the file's encoding with --encoding utf-8, "
            "big5 or utf-16");
  EXPECT_EQ(ErrorOf("bad_not_big5.csv"),
            "bad_not_big5.csv:3:13: not UTF-8 text (byte 0xFF), nor Big5: give the "
            "file's encoding with --encoding utf-8, big5 or utf-16");
  EXPECT_EQ(ErrorOf("bad_utf16_odd.csv"),
            "bad_utf16_odd.csv:3:1: not UTF-16 text (byte 0x00 ends the file inside a "
            "character): give the file's encoding with --encoding utf-8, big5 or utf-16");
  EXPECT_EQ(ErrorOf("big5_broker_crlf.csv", {.encoding = "latin1"}),
            "big5_broker_crlf.csv: --encoding must be auto, utf-8, big5 or utf-16, not latin1");
}

TEST(CliVendor, SeparatorsQuotesThousandsAndBlankLines) {
  const GoodFile cases[] = {
      {"semicolon_quoted_thousands.csv", 3, "0 09:01:00 103500 104000 103000 103500 2490 0/0 @3",
       "0 09:03:00 104500 105000 104000 104000 870 0/0 @6"},
      {"comma_quoted_thousands_trailing.csv", 3, "0 09:01:00 103500 104000 103000 103500 2490 0/0 @2",
       "0 09:03:00 104500 105000 104000 104000 870 0/0 @5"},
  };
  for (const GoodFile& g : cases) CheckGood(g);
  const std::pair<const char*, const char*> bad[] = {
      {"bad_thousands.csv", "bad_thousands.csv:2:19: column \"volume\": \"12,34\" is not a whole number"},
      {"bad_too_many.csv", "bad_too_many.csv:2:22: too many columns: the header names 6, this line has 8"},
      {"bad_text_after_quote.csv", "bad_text_after_quote.csv:2:7: text after the closing quote of a field"},
      // A quoted header name holding a separator is one column: the later columns keep their
      // places, and "x,time" is not a time column.
      {"bad_header_quoted_comma.csv",
       "bad_header_quoted_comma.csv:2:3: column \"time\": \"9h01\" is not a time of day (HH:MM, HH:MM:SS, HHMMSS or "
       "HMM, with or without a date before it)"},
      {"bad_header_quoted_time.csv",
       "bad_header_quoted_time.csv:1:1: missing column \"time\" in the header: its accepted names are time, 時間, "
       "datetime, 日期時間, 成交時間, timestamp (or, for daily bars, a date: date, 日期, 交易日期); bars need time, "
       "open, high, low, close and volume, trades time, close (price) and volume"},
      {"bad_missing_price.csv",
       "bad_missing_price.csv:1:1: missing column \"open\" in the header: its accepted names are open, 開盤價, 開盤; "
       "bars need time, open, high, low, close and volume, trades time, close (price) and volume"},
  };
  for (const auto& [file, message] : bad) EXPECT_EQ(ErrorOf(file), message);
  std::vector<CsvField> f;
  ASSERT_FALSE(SplitCsvLine(" \"a,b\" ;x;\"say \"\"hi\"\"\";", ';', f));
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].text, "a,b");
  EXPECT_EQ(f[1].offset, 8u);
  EXPECT_EQ(f[2].text, "say \"hi\"");
  EXPECT_EQ(f[3].text, "");
  EXPECT_EQ(DetectSeparator("\"a,b,c\"\ttime\topen"), '\t');
  EXPECT_EQ(CharacterColumn("時間,x", 7), 4);
}

TEST(CliVendor, DateAndTimeForms) {
  const char* kDay = "20261204 09:01:00 3000 3010 2995 3005 1200 0/0 @2";
  const GoodFile cases[] = {
      {"roc_dates_hhmmss.csv", 3, kDay, "20261204 09:03:00 2990 3000 2990 3000 650 0/0 @4"},
      {"datetime_slashes.csv", 3, kDay, "20261204 09:03:00 2990 3000 2990 3000 650 0/0 @4"},
      {"datetime_iso_t.csv", 3, kDay, "20261204 09:03:00 2990 3000 2990 3000 650 0/0 @4"},
      {"datetime_compact.csv", 3, kDay, "20261204 09:03:00 2990 3000 2990 3000 650 0/0 @4"},
      {"hmm_times.csv", 3, "0 09:01:00 3000 3010 2995 3005 1200 0/0 @2", "0 10:15:00 2990 3000 2990 3000 650 0/0 @4"},
  };
  for (const GoodFile& g : cases) CheckGood(g);
  const std::pair<const char*, std::int32_t> dates[] = {
      {"2026-12-04", 20261204}, {"2026/1/4", 20260104}, {"115/12/04", 20261204},  {"99/02/28", 20100228},
      {"1151204", 20261204},    {"20240229", 20240229}, {"2026.12.04", 20261204}, {"20230229", 0},
      {"115/02/30", 0},         {"2026-12", 0},         {"12/04/2026", 0},        {"", 0}};
  for (const auto& [text, date] : dates) EXPECT_EQ(ParseDate(text).value_or(0), date) << text;
  const std::pair<const char*, ClockTime> times[] = {{"9:05", 90500},      {"090530", 90530}, {"90530", 90530},
                                                     {"905", 90500},       {"0905", 90500},   {"13:30:00.250", 133000},
                                                     {"23:59:59", 235959}, {"24:00", -1},     {"0960", -1},
                                                     {"9:5", -1},          {"1234567", -1}};
  for (const auto& [text, time] : times) EXPECT_EQ(ParseTimeOfDay(text).value_or(-1), time) << text;
  EXPECT_EQ(ParseDateTime("20261204090100")->time, 90100);
  EXPECT_EQ(ParseDateTime("2026-12-04T09:01")->date, 20261204);
  EXPECT_FALSE(ParseDateTime("2026-12-04T"));
  EXPECT_EQ(NextDay(20261231), 20270101);
  EXPECT_EQ(NextDay(20280228), 20280229);
  const std::pair<const char*, const char*> bad[] = {
      {"bad_date.csv",
       "bad_date.csv:3:1: column \"日期\": \"2026/13/04\" is not a date (2026-12-04, 2026/12/04, "
       "20261204 or ROC 115/12/04, a time may follow)"},
      {"bad_roc_date.csv",
       "bad_roc_date.csv:2:1: column \"日期\": \"115/02/30\" is not a date (2026-12-04, "
       "2026/12/04, 20261204 or ROC 115/12/04, a time may follow)"},
      {"bad_daily_with_gap_time.csv",
       "bad_daily_with_gap_time.csv:3:1: column \"日期\": \"2026/12/04\" has no time of day, the rows above have one"},
  };
  for (const auto& [file, message] : bad) EXPECT_EQ(ErrorOf(file), message);
}

TEST(CliVendor, RowsNewestFirstAreReversedAndUnsortedFilesRefused) {
  CheckGood({"descending_newest_first.csv", 5, "0 09:01:00 3000 3005 2990 2995 210 0/0 @6",
             "0 09:05:00 2975 2975 2960 2965 2700 0/0 @2"});
  EXPECT_EQ(ErrorOf("descending_newest_first.csv"), "");
  EXPECT_EQ(ErrorOf("bad_unsorted_days.csv"),
            "bad_unsorted_days.csv:4:1: rows out of order: 2026-12-02 13:30:00 comes after 2026-12-04 09:01:00 on "
            "line 3, but the rows before are oldest first (rows must be all oldest first or all newest first)");
  // A generated week of minute bars, newest first, reads as the same week oldest first.
  std::string oldest = "date,time,open,high,low,close,volume\n", newest = oldest;
  std::vector<std::string> rows;
  for (int day = 1; day <= 5; ++day) {
    for (int m = 1; m <= 270; ++m) {
      const ClockTime t = ClockOf(9 * 3600 + m * 60);
      rows.push_back("2026-12-0" + std::to_string(day) + "," + FormatClock(t) + ",30,31,29," +
                     std::to_string(29 + m % 3) + "," + std::to_string(m) + "\n");
    }
  }
  for (const std::string& r : rows) oldest += r;
  for (auto r = rows.rbegin(); r != rows.rend(); ++r) newest += *r;
  const auto a = std::get<MinuteBars>(ParseMinuteBars("a", oldest));
  const auto b = std::get<MinuteBars>(ParseMinuteBars("b", newest));
  ASSERT_EQ(b.bars.size(), 1350u);
  EXPECT_TRUE(b.newestFirst);
  for (std::size_t i = 0; i < a.bars.size(); ++i) {
    const std::string x = Text(a.bars[i]), y = Text(b.bars[i]);
    ASSERT_EQ(x.substr(0, x.find('@')), y.substr(0, y.find('@'))) << i;
  }
  EXPECT_EQ(TradingDays(b).size(), 5u);
}

TEST(CliVendor, TradesBecomeMinuteSlots) {
  // Several trades a second; the closing auction at 13:30:00 joins the session's last slot.
  const MinuteBars m = Read("ticks_several_per_second.csv");
  EXPECT_TRUE(m.fromTrades);
  EXPECT_EQ(Text(m.bars.front()).substr(0, 17), "0 09:01:00 3000 3");
  EXPECT_EQ(Text(m.bars.back()), "0 13:31:00 2960 2960 2960 2960 350 0/0 @975");
  auto in = std::get<ChartInput>(PrepareInput(m, {}));
  EXPECT_EQ(Text(in.data.bars.back()), "0 13:30:00 2960 2960 2960 2960 350 0/0 @975");
  // Cumulative volume in a Big5 file with fractions of seconds: per-trade volumes add up.
  const MinuteBars c = Read("ticks_cumulative_big5.csv");
  std::int64_t total = 0;
  for (const MinuteBar& b : c.bars) total += b.volume;
  EXPECT_EQ(total, 421);
  EXPECT_EQ(c.bars.front().volume, 64);  // the total at 09:00:55, the last trade of slot 09:01
  EXPECT_EQ(ErrorOf("bad_cumulative_decreasing.csv"),
            "bad_cumulative_decreasing.csv:4:16: column \"總量\": 20 is less than 25 on the row before: a cumulative "
            "volume never decreases");
  EXPECT_EQ(ErrorOf("bad_no_volume_ticks.csv").substr(0, 59),
            "bad_no_volume_ticks.csv:1:1: missing column \"volume\" in the");

  // Slot edges: 09:00:00 and 09:00:59 share slot 09:01, 09:01:00 opens 09:02; a generated
  // day of 100,000 trades keeps its volume and its extremes.
  std::string text = "time,price,volume\n09:00:00,10,1\n09:00:59,12,2\n09:01:00,9,4\n09:01:00,11,8\n";
  const auto edge = std::get<MinuteBars>(ParseMinuteBars("edge", text));
  ASSERT_EQ(edge.bars.size(), 2u);
  EXPECT_EQ(Text(edge.bars[0]), "0 09:01:00 10 12 10 12 3 0/0 @2");
  EXPECT_EQ(Text(edge.bars[1]), "0 09:02:00 9 11 9 11 12 0/0 @4");
  text = "時間,成交價,單量\r\n";
  std::int64_t volume = 0;
  for (int i = 0; i < 100000; ++i) {
    const int second = 9 * 3600 + i * 16200 / 100000;
    text += FormatClock(ClockOf(second), true) + "," + std::to_string(500 + i % 97) + ".5," + std::to_string(i % 7) +
            "\r\n";
    volume += i % 7;
  }
  const auto day = std::get<MinuteBars>(ParseMinuteBars("day", text));
  ASSERT_EQ(day.bars.size(), 270u);
  std::int64_t sum = 0;
  for (const MinuteBar& b : day.bars) {
    sum += b.volume;
    EXPECT_EQ(b.high - b.low, 960) << b.time;
  }
  EXPECT_EQ(sum, volume);
}

TEST(CliVendor, DaysSessionsAndReference) {
  // Three days with a reference column: the last day is drawn, with its reference (a gap up).
  const MinuteBars m = Read("multiday_reference.csv");
  EXPECT_EQ(TradingDays(m), (std::vector<std::int32_t>{20261202, 20261203, 20261204}));
  auto last = std::get<ChartInput>(PrepareInput(m, {}));
  EXPECT_EQ(last.data.bars.size(), 8u);
  EXPECT_EQ(last.reference, 2995);
  EXPECT_EQ(last.referenceFrom, "the file's reference column");
  EXPECT_EQ(last.notes.front(),
            "multiday_reference.csv: 3 trading days (2026-12-02 to 2026-12-04): drawing the last, "
            "2026-12-04 (choose another with --date)");
  for (const char* date : {"2026-12-03", "115/12/03", "20261203"}) {
    auto in = std::get<ChartInput>(PrepareInput(m, {.date = date}));
    EXPECT_EQ(in.data.bars.front().line, 10) << date;
    EXPECT_EQ(in.reference, 3000) << date;
  }
  EXPECT_EQ(std::get<ChartInput>(PrepareInput(m, {.reference = "30.50"})).reference, 3050);
  EXPECT_EQ(std::get<ChartInput>(PrepareInput(m, {.allDays = true})).data.bars.size(), 24u);
  EXPECT_EQ(ErrorOf("multiday_reference.csv", {.date = "2026-12-05"}),
            "multiday_reference.csv: --date 2026-12-05: no bars on that day (the file has 3 trading days, 2026-12-02 "
            "to 2026-12-04)");
  EXPECT_EQ(ErrorOf("hmm_times.csv", {.date = "2026-12-05"}),
            "hmm_times.csv: --date 2026-12-05: the file has no date column");

  // A night session across midnight is one trading day, the day of its hours after midnight.
  const MinuteBars night = Read("futures_night_session.csv");
  EXPECT_EQ(TradingDays(night), (std::vector<std::int32_t>{20261204}));
  EXPECT_EQ(Text(night.bars.front()), "20261204 15:01:00 23250 23256 23248 23253 43 0/0 @2");
  EXPECT_EQ(ErrorOf("futures_night_session.csv", {.category = "FITX", .session = "15:00-05:00"}), "");
  // A futures day with the night before it: each session draws alone, the other is left out.
  const MinuteBars both = Read("futures_day_and_night.csv");
  auto day = std::get<ChartInput>(PrepareInput(both, {.category = "FITX"}));
  auto evening = std::get<ChartInput>(PrepareInput(both, {.category = "FITX", .session = "15:00-05:00"}));
  EXPECT_EQ(day.data.bars.size(), 15u);
  EXPECT_EQ(evening.data.bars.size(), 29u);
  EXPECT_EQ(day.notes.back(),
            "futures_day_and_night.csv: 29 bars of 2026-12-04 lie outside the session 08:45-13:45 "
            "and are left out (choose another with --session)");
  EXPECT_EQ(ErrorOf("futures_whole_points.csv", {.category = "FITX"}), "");
  EXPECT_EQ(Read("futures_whole_points.csv").priceScale, 1);

  // Daily bars read (for the K-line charts) but are no intraday chart.
  const MinuteBars daily = Read("daily_bars.csv");
  EXPECT_TRUE(daily.daily);
  EXPECT_EQ(Text(daily.bars.back()), "20261203 00:00:00 3055 3070 3010 3015 18000 0/0 @4");
  EXPECT_EQ(std::get<ChartInput>(PrepareInput(daily, {.allDays = true})).reference, 3000);
  EXPECT_EQ(ErrorOf("daily_bars.csv"),
            "daily_bars.csv: daily bars (a date column and no time): this chart draws one "
            "day of minute bars or trades");
}

TEST(CliVendor, BadBarsAreErrorsAtTheirField) {
  const std::pair<const char*, const char*> cases[] = {
      {"bad_open_outside.csv",
       "bad_open_outside.csv:3:7: column \"open\": 30.20 lies outside the bar's low 29.90 and "
       "high 30.10 (bad data)"},
      {"bad_close_outside.csv",
       "bad_close_outside.csv:2:25: column \"收盤價\": 29.90 lies outside the bar's low 29.95 "
       "and high 30.10 (bad data)"},
      {"bad_high_below_low.csv",
       "bad_high_below_low.csv:2:13: column \"high\": 29.90 is below the low 30.10 (bad data)"},
      {"bad_negative_price.csv", "bad_negative_price.csv:2:19: column \"low\": price -29.95 is not positive"},
  };
  for (const auto& [file, message] : cases) EXPECT_EQ(ErrorOf(file), message);
}

}  // namespace
