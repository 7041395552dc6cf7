// The command-line tool's input side: CSV files good and bad (one message with file, line
// and column each), times and sessions across midnight, and the data options.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ChartInput.h"
#include "ChartKinds.h"
#include "CsvReader.h"
#include "ScaleCommands.h"

namespace {

using namespace kelo::cli;

const std::string kData = KELOCHART_TEST_DATA_DIR;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first error on the way from file to chart input, as the tool prints it.
std::string ErrorOf(const std::string& file, InputOptions options = {}) {
  auto text = ReadInput(kData + "/" + file);
  if (auto* e = std::get_if<InputError>(&text)) return e->Text();
  auto data = ParseMinuteBars(file, std::get<std::string>(text));
  if (auto* e = std::get_if<InputError>(&data)) return e->Text();
  auto in = PrepareInput(std::get<MinuteBars>(data), options);
  if (auto* e = std::get_if<InputError>(&in)) return e->Text();
  return "";
}

TEST(CliCsv, EveryMalformedFileGivesOneMessageWithLineAndColumn) {
  const std::pair<const char*, const char*> cases[] = {
      {"bad_empty.csv",
       "bad_empty.csv:1:1: empty file: expected a header line time,open,high,low,close,volume and "
       "minute bars"},
      {"bad_binary.csv", "bad_binary.csv:3:1: binary data (byte 0x00): expected a CSV text file"},
      {"bad_long_line.csv", "bad_long_line.csv:2:4097: line longer than 4096 bytes: not a minute bar"},
      {"bad_missing_column.csv",
       "bad_missing_column.csv:1:1: missing column \"volume\" in the header: its accepted names are volume, vol, "
       "成交量, 成交量(張), 單量 (or a cumulative volume: totalvolume, 總量, 累計成交量); bars need time, open, high, "
       "low, close and volume, trades time, close (price) and volume"},
      {"bad_no_header.csv",
       "bad_no_header.csv:1:1: no header line: the first line must name the columns, like "
       "time,open,high,low,close,volume"},
      {"bad_header_only.csv", "bad_header_only.csv:1:1: no minute bars after the header"},
      {"bad_number.csv",
       "bad_number.csv:3:10: column \"high\": \"1O.5\" is not a decimal price (digits with at "
       "most 4 decimals, like 30.15 or \"1,035.00\")"},
      {"bad_time.csv",
       "bad_time.csv:2:1: column \"time\": \"9h01\" is not a time of day (HH:MM, HH:MM:SS, HHMMSS "
       "or HMM, with or without a date before it)"},
      {"bad_price_zero.csv", "bad_price_zero.csv:2:13: column \"low\": price 0 is not positive"},
      {"bad_volume.csv", "bad_volume.csv:2:19: column \"volume\": volume -5 is negative"},
      {"bad_too_few.csv", "bad_too_few.csv:2:18: too few columns: the header names 6, this line has 5"},
      {"bad_quote.csv", "bad_quote.csv:3:7: a quoted field is not closed"},
      {"bad_header_quote.csv", "bad_header_quote.csv:1:26: a quoted field is not closed"},
      {"bad_order.csv",
       "bad_order.csv:4:1: column \"time\": 09:02:00 is not after the time of the line before: "
       "times must increase"},
      // The time field's column is found on the line itself when wider fields come first.
      {"bad_order_late_time.csv",
       "bad_order_late_time.csv:3:23: column \"time\": 09:00:00 is not after the time "
       "of the line before: times must increase"},
      {"bad_outside_session.csv",
       "bad_outside_session.csv:2:1: column \"time\": 08:30:00 is outside the session "
       "09:00-13:30 (see --session)"},
  };
  for (const auto& [file, message] : cases) EXPECT_EQ(ErrorOf(file), message);
}

TEST(CliCsv, GoodFilesReadWhateverTheHeaderCaseTimeFormOrColumnSet) {
  auto data = ParseMinuteBars("m", Slurp(kData + "/good_minimal.csv"));
  ASSERT_TRUE(std::holds_alternative<MinuteBars>(data));
  const MinuteBars& m = std::get<MinuteBars>(data);
  ASSERT_EQ(m.bars.size(), 3u);
  EXPECT_EQ(m.priceScale, 100);
  EXPECT_FALSE(m.hasInnerOuter);
  EXPECT_EQ(m.bars[1].time, 90200);
  EXPECT_EQ(m.bars[1].high, 1010);
  EXPECT_EQ(m.bars[2].line, 4);
  // Whole-number futures prices keep scale 1; the night file fits only its own session.
  EXPECT_EQ(ErrorOf("good_night.csv", {"FITX", "", "", "15:00-05:00"}), "");
  EXPECT_EQ(ErrorOf("good_night.csv", {"FITX", "", "", ""}),
            "good_night.csv:2:1: column \"time\": 15:01:00 is outside the session 08:45-13:45 (see --session)");
  EXPECT_EQ(ErrorOf("good_sample.csv"), "");
}

TEST(CliCsv, DataOptionsAreCheckedAgainstTheData) {
  const std::pair<InputOptions, const char*> cases[] = {
      {{"stock", "10.005", "", ""}, "good_minimal.csv: --reference 10.005 has more decimals than the prices"},
      {{"stock", "", "10", ""}, "good_minimal.csv: the prices have 2 decimals, more than --price-scale 10 keeps"},
      {{"stock", "", "7", ""}, "good_minimal.csv: --price-scale must be 1, 10, 100, 1000 or 10000, not 7"},
      {{"stock", "", "", "9-13"},
       "good_minimal.csv: --session must be HH:MM-HH:MM with a start and an end, "
       "09:00-13:30 (15:00-05:00 runs across midnight, 00:00-24:00 is the whole day), "
       "not 9-13"},
      {{"crypto", "", "", ""}, nullptr},
  };
  for (const auto& [options, message] : cases) {
    const std::string error = ErrorOf("good_minimal.csv", options);
    if (message) {
      EXPECT_EQ(error, message);
    } else {
      EXPECT_NE(error.find("unknown category \"crypto\""), std::string::npos) << error;
    }
  }
  auto data = ParseMinuteBars("m", Slurp(kData + "/good_minimal.csv"));
  auto in = std::get<ChartInput>(PrepareInput(std::get<MinuteBars>(data), {"etf", "9.9", "1000", ""}));
  EXPECT_EQ(in.reference, 9900);
  EXPECT_EQ(in.data.bars[0].high, 10050);
  EXPECT_EQ(in.category.index, 3u);
}

TEST(CliCsv, NumbersAndClockTimes) {
  EXPECT_EQ(ParseDecimal("12.35")->mantissa, 1235);
  EXPECT_EQ(ParseDecimal("-0.5")->decimals, 1);
  for (const char* bad : {"", ".", "1e5", "1,000", "1.23456", "99999999999", "12.3.4", " 1"}) {
    EXPECT_FALSE(ParseDecimal(bad)) << bad;
  }
  EXPECT_EQ(ParseClock("9:05"), 90500);
  EXPECT_EQ(ParseClock("13:30:15"), 133015);
  for (const char* bad : {"24:01", "12:60", "12:5", "123:00", "12:00:", "ab:cd"}) EXPECT_FALSE(ParseClock(bad)) << bad;
  const Session night = *ParseSession("15:00-05:00");
  EXPECT_TRUE(night.CrossesMidnight());
  EXPECT_EQ(night.LengthSeconds(), 14 * 3600);
  EXPECT_EQ(night.OffsetOf(30), 9 * 3600 + 30);  // 00:00:30 is nine hours in
  EXPECT_EQ(night.OffsetOf(50000), 14 * 3600);
  EXPECT_FALSE(night.OffsetOf(50100));
  EXPECT_FALSE(ParseSession("10:00-10:00"));
  EXPECT_EQ(FindCategory("fitx")->index, 4u);
  EXPECT_EQ(FindCategory("option")->index, 16u);
}

TEST(CliCsv, NightSessionAxisRunsOnTheShiftedClock) {
  const TimeAxis axis = MakeTimeAxis(*ParseSession("15:00-05:00"));
  EXPECT_EQ(axis.offsetMinutes, 900);
  EXPECT_EQ(axis.start, 0);
  EXPECT_EQ(axis.end, 140100);  // fourteen hours and the slot of the last minute
  EXPECT_EQ(axis.labels.front().time, 150000);
  EXPECT_EQ(axis.labels.back().time, 50000);
  EXPECT_EQ(axis.lines.size(), 27u);  // every half hour strictly inside the session
}

TEST(CliScale, ScaleAndTickPrintWhatTheTraderChecks) {
  auto scale = ScaleText({"stock", "100", "26.93", "30.00", "33.12"});
  EXPECT_EQ(std::get<std::string>(scale),
            "price axis of stock (listed stocks), reference 30.00, raw high 33.12, raw low 26.93:\n"
            "  reasonable top 33.10, bottom 26.95, tick 0.05\n"
            "  scale: 26.95 27.60 28.20 28.80 29.40 30.00 30.60 31.20 31.80 32.45 33.10\n");
  EXPECT_EQ(std::get<UsageError>(ScaleText({"stock", "100", "26.931", "30", "33"})).message,
            "--bottom 26.931 has more decimals than --price-scale keeps");
}

}  // namespace
