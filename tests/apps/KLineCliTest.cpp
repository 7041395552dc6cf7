// The kline kind of the command-line tool: its gallery pictures against golden images, the
// rows it refuses, the bar lengths it makes, its options, and the binary end to end.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "Batch.h"
#include "CsvReader.h"
#include "GoldenImage.h"
#include "KLineChart.h"
#include "RecordHelpers.h"
#include "SampleData.h"
#include "TradeSlots.h"

namespace {

using namespace kelo::cli;
namespace fs = std::filesystem;

const std::string kKLineData = std::string(KELOCHART_TEST_DATA_DIR) + "/../kline";

TEST(CliKLine, GalleryPicturesMatchTheirGoldenImagesDirectlyAndReplayed) {
  PrepareSharedObjects();
  const ChartKind* kind = FindChartKind("kline");
  ASSERT_NE(kind, nullptr);
  ASSERT_TRUE(kind->multiDay);
  for (const KLineGalleryEntry& entry : KLineGallery()) {
    SCOPED_TRACE(entry.file);
    auto in = PrepareKLineInput(entry.intraday ? SampleDays() : SampleDailyBars(), InputOptions{}, entry.options);
    ASSERT_TRUE(std::holds_alternative<ChartInput>(in));
    for (bool replayed : {false, true}) {
      auto dc = replayed ? CDC::CreateRecording(800, 600) : CDC::CreateRaster(800, 600);
      kind->draw(dc.get(), std::get<ChartInput>(in), ChartStyle{});
      EXPECT_TRUE(kelo::test::MatchesGolden(*dc, std::string("cli_") + entry.file));
    }
  }
}

MinuteBars Rows(std::vector<MinuteBar> bars) {
  MinuteBars data;
  data.name = "quotes.csv";
  for (std::size_t i = 0; i < bars.size(); ++i) {
    bars[i].line = static_cast<std::int32_t>(i) + 2;
    bars[i].timeColumn = 12;
  }
  data.bars = std::move(bars);
  return data;
}

TEST(CliKLine, BadRowsAreRefusedWithTheirLineAndColumn) {
  const MinuteBar good{20261201, 0, 5800, 5850, 5760, 5830, 2531};
  struct Case {
    MinuteBar second;
    std::string text;
  };
  const Case cases[] = {
      {{20261202, 0, 5900, 5890, 5810, 5880, 1},
       "quotes.csv:3:1: column \"open\": 59.00 is outside the bar's low-high range 58.10-58.90"},
      {{20261202, 0, 5880, 5890, 5810, 5800, 1},
       "quotes.csv:3:1: column \"close\": 58.00 is outside the bar's low-high range 58.10-58.90"},
      {{20261202, 0, 5880, 5800, 5810, 5880, 1}, "quotes.csv:3:1: column \"high\": the high is below the low"},
      {{20261202, 0, 0, 5890, 5810, 5880, 1}, "quotes.csv:3:1: column \"open\": the price is not positive"},
      {{20261130, 0, 5880, 5890, 5810, 5880, 1},
       "quotes.csv:3:12: the date and time are not after those of the line before: rows must be in time order"},
      {{20261201, 0, 5880, 5890, 5810, 5880, 1},
       "quotes.csv:3:12: the date and time are not after those of the line before: rows must be in time order"},
  };
  for (const Case& c : cases) {
    auto in = PrepareKLineInput(Rows({good, c.second}), InputOptions{}, KLineOptions{});
    ASSERT_TRUE(std::holds_alternative<InputError>(in)) << c.text;
    EXPECT_EQ(std::get<InputError>(in).Text(), c.text);
  }
}

TEST(CliKLine, SixtyAlternatingDaysFillAnEightHundredPixelChartByDefault) {
  // What alternating_60d.csv holds, built in code.
  std::vector<MinuteBar> rows;
  for (std::int32_t day = KeloKLine::DayNumber(20260907); rows.size() < 60; ++day) {
    const std::int32_t date = KeloKLine::DateOfDay(day), i = static_cast<std::int32_t>(rows.size());
    if (KeloKLine::Weekday(date) >= 5) continue;
    const std::int32_t base = 5000 + (i % 7) * 20;
    const bool up = i % 2 == 0;
    rows.push_back({date, 0, up ? base : base + 60, base + 80, base - 20, up ? base + 60 : base, 1000 + i * 10});
  }
  auto in = PrepareKLineInput(Rows(rows), InputOptions{}, KLineOptions{});
  ASSERT_TRUE(std::holds_alternative<ChartInput>(in));
  auto dc = CDC::CreateRecording(800, 600);
  FindChartKind("kline")->draw(dc.get(), std::get<ChartInput>(in), ChartStyle{});
  const auto& table = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
  std::vector<CRect> up, down;
  for (const auto& f : kelo::test::Fills(kelo::test::LogOf(*dc))) {
    if (f.rect.Width() < 2) continue;
    if (f.color == table[5]) up.push_back(f.rect);
    if (f.color == table[9]) down.push_back(f.rect);
  }
  // A body and a volume bar of each colour per day: 30 up and 30 down days all shown.
  EXPECT_EQ(up.size(), 60u);
  EXPECT_EQ(down.size(), 60u);
}

TEST(CliKLine, BarLengthsFromTheInputsOwn) {
  KLineOptions options;
  struct Case {
    const char* bars;
    std::size_t count;
    std::int32_t firstTime;
  };
  const Case cases[] = {
      {"", 270 * 5, 90100}, {"30m", 9 * 5, 93000}, {"60m", 5 * 5, 100000}, {"1d", 5, 0}, {"1w", 1, 0}};
  for (const Case& c : cases) {
    options.bars = c.bars;
    auto in = PrepareKLineInput(SampleDays(), InputOptions{}, options);
    ASSERT_TRUE(std::holds_alternative<ChartInput>(in)) << c.bars;
    const auto& bars = std::get<ChartInput>(in).data.bars;
    EXPECT_EQ(bars.size(), c.count) << c.bars;
    EXPECT_EQ(bars.front().time, c.firstTime) << c.bars;
    EXPECT_EQ(bars.back().date, 20261204) << c.bars;
  }
  options.bars = "5m";
  auto refused = PrepareKLineInput(SampleDailyBars(30), InputOptions{}, options);
  ASSERT_TRUE(std::holds_alternative<InputError>(refused));
  EXPECT_EQ(std::get<InputError>(refused).message, "--bars 5m is shorter than the input's own bars (1d)");

  // Rows with seconds are trades: each close one trade, made into minute bars.
  MinuteBars trades = Rows({{20261204, 90001, 100, 100, 100, 100, 1},
                            {20261204, 90030, 103, 103, 103, 103, 2},
                            {20261204, 90105, 101, 101, 101, 101, 4}});
  EXPECT_EQ(InputPeriod(trades), 0);
  auto minutes = PrepareKLineInput(trades, InputOptions{}, KLineOptions{});
  ASSERT_TRUE(std::holds_alternative<ChartInput>(minutes));
  const auto& m = std::get<ChartInput>(minutes).data.bars;
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(std::make_tuple(m[0].time, m[0].open, m[0].high, m[0].close, m[0].volume),
            std::make_tuple(90100, 100, 103, 103, std::int64_t{3}));

  // The reader's slot 13:31 of the closing auction at 13:30:00 joins the day's ninth half hour.
  MinuteBars slots = Rows(SlotsFromTrades(
      {{20261204, 90005, 1, 1, 1, 1, 1}, {20261204, 90110, 1, 1, 1, 1, 1}, {20261204, 133000, 2, 2, 2, 2, 5}}, 60));
  slots.fromTrades = true;
  options.bars = "30m";
  auto halfHours = PrepareKLineInput(slots, InputOptions{}, options);
  ASSERT_TRUE(std::holds_alternative<ChartInput>(halfHours)) << std::get<InputError>(halfHours).Text();
  EXPECT_EQ(std::get<ChartInput>(halfHours).data.bars.back().time, 133000);
  options.bars = "1m";  // an illiquid day's trades, minutes apart, are minute slots all the same
  const auto sparse = ParseMinuteBars("t", "date,time,price,volume\n20261204,090005,30,1\n20261204,090710,31,2\n");
  EXPECT_TRUE(std::holds_alternative<ChartInput>(PrepareKLineInput(std::get<MinuteBars>(sparse), {}, options)));
}

// The scale is the prices' real decimals, at least the category's, whatever decimals the file
// writes: 577.00 and 577 draw alike (a table of numbers has no written decimals to go by).
TEST(CliKLine, ThePriceScaleIsTheRealDecimalsAtLeastTheCategorys) {
  struct Case {
    const char *category, *priceScale;
    std::int32_t readScale, close;  // as the reader gives them from the written text
    std::int32_t scale, scaledClose;
    std::string error;
  };
  const Case cases[] = {
      {"stock", "", 100, 57800, 100, 57800, ""},      // 578.00
      {"stock", "", 1, 578, 100, 57800, ""},          // 578
      {"stock", "", 10000, 5780000, 100, 57800, ""},  // 578.0000
      {"FITX", "", 100, 2326700, 1, 23267, ""},       // 23267.00: whole points
      {"option-FITX", "", 100, 14550, 10, 1455, ""},  // 145.50
      {"stock", "1000", 1, 578, 1000, 578000, ""},    // finer on request
      {"stock", "1", 100, 57850, 0, 0, "the prices have more decimals than --price-scale 1 keeps"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.close) + " at " + std::to_string(c.readScale) + " " + c.category);
    MinuteBars data = Rows({{20261201, 0, c.close, c.close, c.close, c.close, 10}});
    data.priceScale = c.readScale;
    InputOptions options;
    options.category = c.category;
    options.priceScale = c.priceScale;
    auto in = PrepareKLineInput(std::move(data), options, KLineOptions{});
    if (!c.error.empty()) {
      ASSERT_TRUE(std::holds_alternative<InputError>(in));
      EXPECT_EQ(std::get<InputError>(in).message, c.error);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<ChartInput>(in));
    EXPECT_EQ(std::get<ChartInput>(in).data.priceScale, c.scale);
    EXPECT_EQ(std::get<ChartInput>(in).data.bars.back().close, c.scaledClose);
  }
}

TEST(CliKLine, OptionsResolveOrSayWhatIsWrong) {
  struct Case {
    const char *bars, *indicators, *style;
    std::string error;
    std::uint32_t overlays;
    int lower;
  };
  const Case cases[] = {
      {"", "ma,volume-ma", "candle", "", 5, 0},
      {"1mo", "bollinger,rsi", "ohlc", "", 2, 3},
      {"", "none", "candle", "", 0, 0},
      {"2h", "ma", "candle", "--bars must be 1m, 5m, 15m, 30m, 60m, 1d, 1w or 1mo, not 2h", 0, 0},
      {"", "kd,macd", "candle", "--indicators: one lower pane only (kd, macd or rsi)", 0, 0},
      {"", "ma,vwap", "candle",
       "--indicators takes ma, bollinger, volume-ma, kd, macd, rsi (comma-separated) or none, not \"vwap\"", 0, 0},
      {"", "ma", "bars", "--style must be candle or ohlc, not bars", 0, 0},
  };
  for (const Case& c : cases) {
    KLineOptions o;
    o.bars = c.bars;
    o.indicators = c.indicators;
    o.style = c.style;
    const auto error = CheckKLineOptions(o);
    EXPECT_EQ(error.value_or(""), c.error) << c.indicators;
    if (!error) {
      EXPECT_EQ(std::make_pair(o.overlays, o.lowerPane), std::make_pair(c.overlays, c.lower)) << c.indicators;
    }
  }
}

int RunCli(const std::string& args) {
  const int status = std::system((std::string(KELOCHART_CLI) + " " + args + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliKLine, TheBinaryRendersTheSampleAndRefusesBadUsage) {
  const fs::path dir = fs::path(kelo::test::TestOutDir()) / "kline";
  fs::create_directories(dir);
  const std::string svg = (dir / "sample.svg").string();
  EXPECT_EQ(RunCli("render kline -o " + svg + " --indicators ma,bollinger,macd --style ohlc"), 0);
  EXPECT_GT(fs::file_size(dir / "sample.svg"), 1000u);
  EXPECT_EQ(RunCli("render kline -o " + (dir / "x.png").string() + " --bars 3m"), 2);
  EXPECT_EQ(RunCli("render kline -o " + (dir / "y.png").string() + " --indicators kd,rsi"), 2);
  EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST(CliKLine, DatedCsvFilesEndToEnd) {
  const fs::path dir = fs::path(kelo::test::TestOutDir()) / "kline";
  fs::create_directories(dir);
  for (const char* file : {"alternating_60d.csv", "daily_roc.csv"}) {
    const fs::path out = dir / (std::string(file) + ".png");
    EXPECT_EQ(RunCli("render kline " + kKLineData + "/" + file + " -o " + out.string()), 0) << file;
    EXPECT_TRUE(fs::exists(out)) << file;
  }
  const fs::path bad = dir / "bad.png";
  EXPECT_EQ(RunCli("render kline " + kKLineData + "/bad_open_above_high.csv -o " + bad.string()), 1);
  EXPECT_FALSE(fs::exists(bad));
}

// The reader dates the evening rows of a futures file with their trading day; the K-line
// must still see the night session before the day session of that day, not after it.
TEST(CliKLine, ANightSessionFromTheReaderOpensItsTradingDay) {
  auto text = ReadInput(std::string(KELOCHART_TEST_DATA_DIR) + "/vendor/futures_day_and_night.csv");
  ASSERT_TRUE(std::holds_alternative<std::string>(text));
  auto data = ParseMinuteBars("futures", std::get<std::string>(text));
  ASSERT_TRUE(std::holds_alternative<MinuteBars>(data));
  const MinuteBars rows = std::get<MinuteBars>(data);
  std::int64_t volume = 0;
  for (const MinuteBar& b : rows.bars) volume += b.volume;
  KLineOptions daily;
  daily.bars = "1d";
  InputOptions options;
  options.category = "FITX";
  auto in = PrepareKLineInput(rows, options, daily);
  ASSERT_TRUE(std::holds_alternative<ChartInput>(in)) << std::get<InputError>(in).Text();
  const auto& bars = std::get<ChartInput>(in).data.bars;
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0].date, 20261204);
  EXPECT_EQ(bars[0].open, rows.bars.front().open);  // the 15:01 bar of the evening before
  EXPECT_EQ(bars[0].close, rows.bars.back().close);
  EXPECT_EQ(bars[0].volume, volume);

  // At the file's own bar length too, the night's bars (00:00 included) carry the trading day.
  auto own = PrepareKLineInput(rows, options, KLineOptions{});
  ASSERT_TRUE(std::holds_alternative<ChartInput>(own));
  for (const MinuteBar& b : std::get<ChartInput>(own).data.bars) EXPECT_EQ(b.date, 20261204) << b.time;
}

}  // namespace
