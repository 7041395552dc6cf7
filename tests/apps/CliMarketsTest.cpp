// The tool on the markets Taiwan traders chart: futures in whole points, options in tenths,
// an index at 23,000.55, a locked limit-up day, a day across a tick band, a night session.
// The price scale the data really needs, room at the axis ends, the closing auction inside
// the pane, labels that never overlap at any size, and option values refused as bad usage.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <kelochart/surface/RecordingBackend.h>

#include "Batch.h"
#include "CsvReader.h"
#include "GoldenImage.h"
#include "RenderRequest.h"

namespace {

using namespace kelo::cli;
using kelo::surface::Record;

const std::string kData = KELOCHART_TEST_DATA_DIR;

std::variant<ChartInput, InputError> Prepared(const std::string& file, InputOptions options) {
  std::ifstream f(kData + "/" + file, std::ios::binary);
  std::stringstream text;
  text << f.rdbuf();
  auto data = ParseMinuteBars(file, text.str());
  if (auto* e = std::get_if<InputError>(&data)) return *e;
  return PrepareInput(std::get<MinuteBars>(data), options);
}

// The market files with the options a trader gives them.
struct Market {
  const char* file;
  InputOptions options;
};
const Market kMarkets[] = {
    {"good_futures_day.csv", {"FITX", "", "", ""}},
    {"good_futures_night.csv", {"FITX", "", "", "15:00-05:00"}},
    {"good_option_one_decimal.csv", {"option-FITX", "", "", ""}},
    {"good_index.csv", {"index", "", "", ""}},
    {"good_limit_up.csv", {"stock", "52.00", "", ""}},
    {"good_band_cross.csv", {"stock", "", "", ""}},
    {"good_sample.csv", {"stock", "", "", ""}},  // with bid and ask volumes
};

TEST(CliMarkets, PriceScaleIsTheDecimalsTheDataReallyHas) {
  struct Case {
    const char* file;
    InputOptions options;
    std::int32_t scale;  // 0: refused with message
    const char* message;
  };
  const Case cases[] = {
      // 23267.00 is a whole number of points; 145.50 has one decimal.
      {"good_futures_day.csv", {"FITX", "", "", ""}, 1, ""},
      {"good_futures_day.csv", {"FITX", "", "10", ""}, 10, ""},
      {"good_futures_day.csv", {"FITX", "23267", "1", ""}, 1, ""},
      {"good_futures_day.csv", {"FITX", "23267.5", "1", ""}, 0, "--reference 23267.5 has more decimals than the prices"},
      {"good_option_one_decimal.csv", {"option-FITX", "", "", ""}, 10, ""},
      {"good_option_one_decimal.csv", {"option-FITX", "", "1", ""}, 0,
       "the prices have 1 decimals, more than --price-scale 1 keeps"},
      // Whole-number prices of a stock still take the scale its 0.01 ticks need.
      {"good_futures_day.csv", {"stock", "", "", "08:45-13:45"}, 100, ""},
      {"good_futures_day.csv", {"stock", "", "10", "08:45-13:45"}, 0, "--price-scale 10 is too coarse for the ticks of stock: at least 100"},
      {"good_index.csv", {"index", "", "", ""}, 100, ""},
      {"good_minimal.csv", {"etf", "", "10000", ""}, 10000, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.options.category + " " + c.options.priceScale);
    auto in = Prepared(c.file, c.options);
    if (c.scale == 0) {
      ASSERT_TRUE(std::holds_alternative<InputError>(in));
      EXPECT_EQ(std::get<InputError>(in).message, c.message);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<ChartInput>(in)) << std::get<InputError>(in).Text();
    const ChartInput& chart = std::get<ChartInput>(in);
    EXPECT_EQ(chart.data.priceScale, c.scale);
  }
  auto futures = std::get<ChartInput>(Prepared("good_futures_day.csv", {"FITX", "", "", ""}));
  EXPECT_EQ(futures.data.bars.front().open, 23267);
  EXPECT_EQ(futures.reference, 23267);
  EXPECT_EQ(FormatPrice(futures.reference, futures.data.priceScale), "23267");
  // The index keeps the stock market's hours, futures open at 08:45.
  EXPECT_EQ(DefaultSession(*FindCategory("index")).start, 90000);
  EXPECT_EQ(DefaultSession(*FindCategory("FITX")).start, 84500);
}

TEST(CliMarkets, CategoryScalesHoldEveryTickOfTheirTable) {
  for (const CategoryInfo& c : Categories()) {
    SCOPED_TRACE(c.name);
    for (const TickBand& band : TickBands(c)) {
      const double units = band.tick * c.priceScale;
      EXPECT_GE(units, 1.0);
      EXPECT_NEAR(units, std::round(units), 1e-9);
    }
  }
}

TEST(CliMarkets, AxisLeavesRoomAtBothEndsAndKeepsIndexLevelsOnOneGrid) {
  for (const Market& m : kMarkets) {
    const ChartInput in = std::get<ChartInput>(Prepared(m.file, m.options));
    std::int64_t high = in.reference, low = in.reference;
    for (const MinuteBar& b : in.data.bars) {
      high = std::max<std::int64_t>(high, b.high);
      low = std::min<std::int64_t>(low, b.low);
    }
    for (int height : {60, 190, 400, 8000}) {
      SCOPED_TRACE(std::string(m.file) + " " + std::to_string(height));
      const PriceAxis axis = MakePriceAxis(in, height);
      const double perUnit = static_cast<double>(height) / (axis.top - axis.bottom);
      EXPECT_GE((axis.top - high) * perUnit, kHeadroomPixels - 1.0);
      EXPECT_GE((low - axis.bottom) * perUnit, kHeadroomPixels - 1.0);
      ASSERT_GE(axis.scale.size(), 3u);
      EXPECT_EQ(axis.scale.front(), axis.bottom);
      EXPECT_EQ(axis.scale.back(), axis.top);
      if (in.category.name == std::string("index")) {
        for (std::int32_t line : axis.scale) EXPECT_EQ((line - in.reference) % 100, 0) << line;
      }
    }
  }
}

TEST(CliMarkets, ClosingAuctionSlotStandsInsideThePane) {
  for (const char* text : {"09:00-13:30", "08:45-13:45", "15:00-05:00", "00:00-24:00"}) {
    const Session session = *ParseSession(text);
    for (int width : {300, 680, 8000}) {
      SCOPED_TRACE(std::string(text) + " " + std::to_string(width));
      const TimeAxis axis = MakeTimeAxis(session, width);
      const std::int32_t shown = SecondsOf(axis.end) - SecondsOf(axis.start);
      const std::int32_t past = shown - session.LengthSeconds();
      EXPECT_GE(static_cast<double>(past - 60) * width / shown, kHeadroomPixels - 1.0);
    }
  }
}

// ---- labels: every text of a drawing, where its glyphs stand ----

struct Ink {
  std::string text;
  CRect rect;
};

// The rectangle the glyphs of a recorded text take (the label font is monospaced).
CRect InkOf(const kelo::surface::TextDesc& t, CPoint offset) {
  int chars = 0;
  for (unsigned char c : t.text) chars += (c & 0xC0) != 0x80;
  const int em = t.font.height < 0 ? -t.font.height : 12;
  const int w = chars * ((em * 7 + 6) / 12), h = (em * 14 + 6) / 12;
  const CRect& r = t.rect;
  const int x = t.format & DT_RIGHT ? r.right - w : t.format & DT_CENTER ? r.left + (r.Width() - w) / 2 : r.left;
  const int y = t.format & DT_BOTTOM ? r.bottom - h : t.format & DT_VCENTER ? r.top + (r.Height() - h) / 2 : r.top;
  return CRect(x + offset.x, y + offset.y, x + offset.x + w, y + offset.y + h);
}

void CollectInk(const std::vector<Record>& records, CPoint offset, const CRect& clip, std::vector<Ink>& out) {
  for (const Record& record : records) {
    if (auto* text = std::get_if<kelo::surface::TextRecord>(&record.op)) {
      if (text->text.text.empty()) continue;
      const CRect ink = InkOf(text->text, offset);
      if (ink.right <= clip.left || ink.left >= clip.right || ink.bottom <= clip.top || ink.top >= clip.bottom) continue;
      out.push_back({text->text.text, ink});
    } else if (auto* blit = std::get_if<kelo::surface::BlitRecord>(&record.op); blit && blit->source) {
      const CPoint inner(offset.x + blit->dst.left - blit->sourceOrigin.x, offset.y + blit->dst.top - blit->sourceOrigin.y);
      const CRect dst(blit->dst.left + offset.x, blit->dst.top + offset.y, blit->dst.right + offset.x,
                      blit->dst.bottom + offset.y);
      CollectInk(blit->source->records, inner, dst, out);
    }
  }
}

// The first fault of a drawing's labels: one outside the picture or two that overlap (by
// more than the pixel a rounding may shift them).
std::string LabelFault(const std::vector<Ink>& inks, int width, int height) {
  for (std::size_t i = 0; i < inks.size(); ++i) {
    const CRect& a = inks[i].rect;
    if (a.left < -1 || a.top < -1 || a.right > width + 1 || a.bottom > height + 1) return "\"" + inks[i].text + "\" outside";
    for (std::size_t j = 0; j < i; ++j) {
      const CRect& b = inks[j].rect;
      if (inks[j].text == inks[i].text && a == b) continue;  // drawn again over itself (a highlight)
      if (a.left + 1 < b.right - 1 && b.left + 1 < a.right - 1 && a.top + 1 < b.bottom - 1 && b.top + 1 < a.bottom - 1) {
        return "\"" + inks[j].text + "\" and \"" + inks[i].text + "\" overlap at " + std::to_string(b.left) + "," +
               std::to_string(b.top) + "-" + std::to_string(b.right) + "," + std::to_string(b.bottom) + " and " +
               std::to_string(a.left) + "," + std::to_string(a.top) + "-" + std::to_string(a.right) + "," +
               std::to_string(a.bottom);
      }
    }
  }
  return "";
}

TEST(CliMarkets, EveryKindKeepsItsLabelsApartAndInsideOnEveryMarketAndSize) {
  PrepareSharedObjects();
  for (const Market& m : kMarkets) {
    const ChartInput in = std::get<ChartInput>(Prepared(m.file, m.options));
    for (const ChartKind& kind : ChartKinds()) {
      if (kind.needsInnerOuter && !in.data.hasInnerOuter) continue;
      for (auto [w, h, em] : {std::tuple{308, 280, 0}, {400, 300, 0}, {800, 600, 0}, {2400, 1800, 0}, {800, 600, 18}}) {
        SCOPED_TRACE(std::string(m.file) + " " + kind.name + " " + std::to_string(w) + "x" + std::to_string(h));
        ChartStyle style;
        style.width = w;
        style.height = h;
        style.fontSize = em;
        auto dc = CDC::CreateRecording(w, h);
        kind.draw(dc.get(), in, style);
        auto* recording = dynamic_cast<kelo::surface::RecordingBackend*>(dc->GetBackend());
        ASSERT_NE(recording, nullptr);
        std::vector<Ink> inks;
        CollectInk(recording->Records(), CPoint(0, 0), CRect(0, 0, w, h), inks);
        EXPECT_GT(inks.size(), 5u);
        EXPECT_EQ(LabelFault(inks, w, h), "");
      }
    }
  }
}

TEST(CliMarkets, LightThemeTextReadsOnWhiteAndCaptionsFitTheirLine) {
  const auto& table = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_GE(ContrastOnWhite(LightTextColorref(table[i])), kTextContrast) << "palette entry " << i;
  }
  const auto chars = [](const std::string& s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n * 7;
  };
  const std::vector<std::string> variants = {"台指期 close and VWAP", "台指期 close", "台指期"};
  EXPECT_EQ(FitText(variants, 200, chars), "台指期 close and VWAP");
  EXPECT_EQ(FitText(variants, 84, chars), "台指期 close");
  EXPECT_EQ(FitText(variants, 21, chars), "台指期");
  EXPECT_EQ(FitText(variants, 20, chars), "台\xE2\x80\xA6");  // cut at a whole character
  EXPECT_EQ(FitText(variants, 3, chars), "");
}

// Runs the tool; its exit code, with stderr in `err`.
int RunKelochart(const std::string& args, std::string& err) {
  const std::string errFile = kelo::test::TestOutDir() + std::string("/markets_stderr.txt");
  const int status = std::system((std::string(KELOCHART_CLI) + " " + args + " >/dev/null 2>" + errFile).c_str());
  std::ifstream in(errFile);
  std::stringstream text;
  text << in.rdbuf();
  err = text.str();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliMarkets, OptionValuesAreCheckedBeforeTheDataAndBadOnesAreBadUsage) {
  const std::string out = kelo::test::TestOutDir() + std::string("/markets.png");
  const std::string futures = kData + "/good_futures_day.csv";
  const std::tuple<std::string, int, const char*> cases[] = {
      {"render intraday --reference 0 -o " + out, 2, "--reference must be a positive decimal price"},
      {"render intraday --reference -3 -o " + out, 2, "--reference must be a positive decimal price"},
      {"render figure --price-scale 3 -o " + out, 2, "--price-scale must be 1, 10, 100, 1000 or 10000, not 3"},
      {"render intraday --session 00:00-00:00 -o " + out, 2, "00:00-24:00 is the whole day"},
      {"render intraday --session 00:00-24:00 -o " + out, 0, ""},
      {"render intraday --price-scale 1 -o " + out, 2, "too coarse for the ticks of stock: at least 100"},
      {"render innerouter --size 400x279 -o " + out, 2, "the smallest size that works is 308x280"},
      {"render xy --size 307x224 -o " + out, 2, "the smallest size that works is 308x224"},
      {"render xy --size 308x224 -o " + out, 0, ""},
      {"render intraday " + futures + " --category FITX --price-scale 1 -o " + out, 0, ""},
      {"render intraday " + futures + " --category index -o " + out, 1, "outside the session 09:00-13:30"},
      {"render intraday " + kData + "/good_minimal.csv --category FITF --price-scale 10 -o " + out, 1,
       "the prices have 2 decimals, more than --price-scale 10 keeps"},
      {"tick --category stock 0", 2, "PRICE must be a positive decimal price"},
      {"tick --category stock -- -1.5", 2, "PRICE must be a positive decimal price"},
      {"scale --category FITX --price-scale 1 --bottom 23300 --base 23267 --top 23350", 0, ""},
      {"scale --category FITX --price-scale 1 --bottom 23300 --base 23267 --top 23250", 2, "is above --top"},
  };
  for (const auto& [args, code, message] : cases) {
    std::string err;
    EXPECT_EQ(RunKelochart(args, err), code) << args << "\n" << err;
    EXPECT_NE(err.find(message), std::string::npos) << args << "\n" << err;
  }
}

TEST(CliMarkets, TickNamesTheTableAndTheBandAndScaleRunsThroughTheReference) {
  const std::pair<std::pair<const char*, const char*>, const char*> ticks[] = {
      {{"stock", "10"}, "stock 10: tick 0.01, from the client's tick table for listed stocks: 0.01 up to and including "
                        "10, then 0.05\n"},
      {{"stock", "10.05"}, "stock 10.05: tick 0.05, from the client's tick table for listed stocks: 0.05 above 10 up "
                           "to and including 50, then 0.1\n"},
      {{"stock", "1200"}, "stock 1200: tick 5, from the client's tick table for listed stocks: 5 above 1000 (the top "
                          "band)\n"},
      {{"option-FITX", "10"}, "option-FITX 10: tick 0.5, from the client's tick table for TAIEX options: 0.5 from 10 "
                              "to below 50, then 1\n"},
      {{"FITF", "900"}, "FITF 900: tick 0.2, from the client's tick table for finance sector futures: 0.2 at every "
                        "price\n"},
      {{"index", "23000.55"}, "index 23000.55: index levels are quoted to 0.01; the axis steps in whole points (the "
                              "table of TAIEX futures: 1 at every price)\n"},
  };
  for (const auto& [args, text] : ticks) EXPECT_EQ(std::get<std::string>(TickText(args.first, args.second)), text);
  // A gap-up day: the low is above the reference, the axis still runs through it.
  EXPECT_EQ(std::get<std::string>(ScaleText({"stock", "100", "31.00", "30.00", "33.00"})),
            "price axis of stock (listed stocks), reference 30.00, raw high 33.00, raw low 31.00:\n"
            "  reasonable top 33.00, bottom 30.00, tick 0.05\n"
            "  (the low is above the reference: the axis runs down to the reference)\n"
            "  scale: 30.00 30.00 30.60 31.20 31.80 32.40 33.00\n");
}

}  // namespace
