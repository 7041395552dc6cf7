// The tool on Taiwan's markets (futures in points, options in tenths, an index, a limit-up day,
// a tick band crossed, a night session): scales, axis room, labels apart at every size, usage.
#include <gtest/gtest.h>

#include <cmath>

#include <kelochart/calculate/KeloChartCalculate.h>
#include <kelochart/surface/RecordingBackend.h>

#include "Batch.h"
#include "CsvReader.h"
#include "RenderRequest.h"

namespace {

using namespace kelo::cli;
using kelo::surface::Record;

const std::string kData = KELOCHART_TEST_DATA_DIR;

std::variant<ChartInput, InputError> Prepared(const std::string& file, InputOptions options) {
  auto data = ParseMinuteBars(file, std::get<std::string>(ReadInput(kData + "/" + file)));
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
    {"good_penny_warrant.csv", {"warrant", "0.02", "", ""}},
};

TEST(CliMarkets, PriceScaleIsTheDecimalsTheDataReallyHas) {
  // Scale 0: refused with the message.
  const std::tuple<const char*, InputOptions, std::int32_t, const char*> cases[] = {
      {"good_futures_day.csv", {"FITX", "", "", ""}, 1, ""},  // 23267.00 is whole points
      {"good_futures_day.csv",
       {"FITX", "23267.5", "1", ""},
       0,
       "--reference 23267.5 has more decimals than the prices"},
      {"good_option_one_decimal.csv", {"option-FITX", "", "", ""}, 10, ""},  // 145.50
      {"good_option_one_decimal.csv",
       {"option-FITX", "", "1", ""},
       0,
       "the prices have 1 decimals, more than --price-scale 1 keeps"},
      {"good_futures_day.csv",
       {"stock", "", "10", "08:45-13:45"},
       0,
       "--price-scale 10 is too coarse for the ticks of stock: at least 100"},
      {"good_index.csv", {"index", "", "", ""}, 100, ""},
  };
  for (const auto& [file, options, scale, message] : cases) {
    auto in = Prepared(file, options);
    if (scale == 0) EXPECT_EQ(std::get<InputError>(in).message, message);
    else EXPECT_EQ(std::get<ChartInput>(in).data.priceScale, scale) << file << " " << options.priceScale;
  }
  const ChartInput futures = std::get<ChartInput>(Prepared("good_futures_day.csv", {"FITX", "", "", ""}));
  EXPECT_EQ(FormatPrice(futures.reference, futures.data.priceScale), "23267");
  EXPECT_EQ(DefaultSession(*FindCategory("index")).start, 90000);  // the stock market's hours
}

TEST(CliMarkets, CategoryScalesHoldEveryTickOfTheirTable) {
  for (const CategoryInfo& c : Categories()) {  // a whole number of units, at least one
    for (const TickBand& b : TickBands(c))
      EXPECT_NEAR(b.tick * c.priceScale, std::max(1.0, std::round(b.tick * c.priceScale)), 1e-9) << c.name;
  }
}

TEST(CliMarkets, AxesLeaveRoomAtTheEndsAndKeepIndexLevelsOnOneGrid) {
  for (const Market& m : kMarkets) {
    const ChartInput in = std::get<ChartInput>(Prepared(m.file, m.options));
    std::int64_t high = in.reference, low = in.reference;
    for (const MinuteBar& b : in.data.bars)
      std::tie(high, low) = std::pair(std::max<std::int64_t>(high, b.high), std::min<std::int64_t>(low, b.low));
    for (int height : {60, 190, 400, 8000}) {
      SCOPED_TRACE(std::string(m.file) + " " + std::to_string(height));
      // The closing auction's slot stands clear of the right frame on a pane this wide.
      const TimeAxis time = MakeTimeAxis(in.session, height);
      const std::int32_t shown = SecondsOf(time.end) - SecondsOf(time.start);
      EXPECT_GE((shown - in.session.LengthSeconds() - 60.0) * height / shown, kHeadroomPixels - 1.0);
      const PriceAxis axis = MakePriceAxis(in, height);
      const double perUnit = static_cast<double>(height) / (axis.top - axis.bottom);
      EXPECT_GE((axis.top - high) * perUnit, kHeadroomPixels - 1.0);
      EXPECT_GE((low - axis.bottom) * perUnit, kHeadroomPixels - 1.0);
      if (in.category.name == std::string("index")) {
        for (std::int32_t line : axis.scale) EXPECT_EQ((line - in.reference) % 100, 0) << line;
      }
    }
  }
}

using Ink = std::pair<std::string, CRect>;

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
      if (ink.right <= clip.left || ink.left >= clip.right || ink.bottom <= clip.top || ink.top >= clip.bottom)
        continue;
      out.push_back({text->text.text, ink});
    } else if (auto* blit = std::get_if<kelo::surface::BlitRecord>(&record.op); blit && blit->source) {
      const CPoint inner(offset.x + blit->dst.left - blit->sourceOrigin.x,
                         offset.y + blit->dst.top - blit->sourceOrigin.y);
      CRect dst = blit->dst;
      dst.OffsetRect(offset.x, offset.y);
      CollectInk(blit->source->records, inner, dst, out);
    }
  }
}

// A label outside the picture or two overlapping by more than a rounding pixel.
std::string LabelFault(const std::vector<Ink>& inks, int width, int height) {
  for (std::size_t i = 0; i < inks.size(); ++i) {
    const auto& [text, a] = inks[i];
    if (a.left < -1 || a.top < -1 || a.right > width + 1 || a.bottom > height + 1) return "\"" + text + "\" outside";
    for (std::size_t j = 0; j < i; ++j) {
      const CRect& b = inks[j].second;
      if (inks[j].first == text && a == b) continue;  // drawn again over itself (a highlight)
      // A decimal price twice down one column: two lines less than a price unit apart.
      if (inks[j].first == text && a.left == b.left && text.find('.') != std::string::npos &&
          text.find_first_not_of("0123456789.,+-") == std::string::npos)
        return "\"" + text + "\" twice down one column";
      if (a.left + 1 < b.right - 1 && b.left + 1 < a.right - 1 && a.top + 1 < b.bottom - 1 &&
          b.top + 1 < a.bottom - 1) {
        return "\"" + inks[j].first + "\" and \"" + text + "\" overlap";
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
        const ChartStyle style{w, h, "", em, w > 2000};  // the largest drawn for the light theme
        auto dc = CDC::CreateRecording(w, h);
        kind.draw(dc.get(), in, style);
        auto* recording = dynamic_cast<kelo::surface::RecordingBackend*>(dc->GetBackend());
        ASSERT_NE(recording, nullptr);
        std::vector<Ink> inks;
        CollectInk(recording->Records(), CPoint(0, 0), CRect(0, 0, w, h), inks);
        EXPECT_GT(inks.size(), 5u);
        EXPECT_EQ(LabelFault(inks, w, h), "");
        // The curve group's price lines lie on the tick ladder, and the figure chart's when its
        // reference does (which is its middle line: an index level's or an option's of 145.5
        // lies between ticks).
        using KeloChartCalculate::GetReasonableMaxPrice;
        const std::string name = kind.name;
        const bool onTicks =
            name == "curvegroup" || (name == "figure" && GetReasonableMaxPrice(in.reference, in.data.priceScale,
                                                                               in.category.index) == in.reference);
        for (const auto& [text, ink] : inks) {  // no time label past the session's end, no white on white
          EXPECT_TRUE(text.size() != 5 || !ParseClock(text) || in.session.OffsetOf(*ParseClock(text))) << text;
          EXPECT_FALSE(style.light && text.find("white") != std::string::npos) << text;
          if (!onTicks || text.find_first_not_of("0123456789.") != std::string::npos) continue;
          const auto units = static_cast<std::int32_t>(std::llround(std::stod(text) * in.data.priceScale));
          EXPECT_EQ(GetReasonableMaxPrice(units, in.data.priceScale, in.category.index), units) << text;
        }
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
    return 7 * static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  };
  EXPECT_EQ(FitText({"台指期 close and VWAP", "台指期 close", "台指期"}, 84, chars), "台指期 close");
  EXPECT_EQ(FitText({"台指期 close", "台指期"}, 20, chars), "台\xE2\x80\xA6");  // cut at a whole character
}

TEST(CliMarkets, OptionValuesWrongWhateverTheDataAreBadUsage) {
  // Option, value, the message's start (empty: accepted); then the checks across options.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"reference", "0", "--reference must be a positive decimal price"},
      {"reference", "30.15", ""},
      {"price_scale", "3", "--price-scale must be 1, 10, 100, 1000 or 10000, not 3"},
      {"session", "00:00-00:00", "--session must be HH:MM-HH:MM with a start and an end"},
      {"session", "00:00-24:00", ""},
      {"price-scale", "1", "--price-scale 1 is too coarse for the ticks of stock: at least 100"},
      {"size", "307x224",
       "--size 307x224 is too small for xy with 12-pixel labels: the smallest size that works is "
       "308x224"},
      {"size", "308x224", ""},
      {"png_level", "13", "--png-level must be a whole number from 0 to 12, not 13"},
      {"png-level", "-1", "--png-level must be a whole number from 0 to 12, not -1"},
      {"png-level", "1x", "--png-level must be a whole number from 0 to 12, not 1x"},
      {"png-level", "0", ""},
      {"png-level", "12", ""},
  };
  for (const auto& [name, value, message] : cases) {
    RenderRequest request;
    request.kind = FindChartKind("xy");
    auto error = SetRenderOption(request, name, value);
    if (!error) error = CheckRenderRequest(request);
    EXPECT_EQ(error ? error->message.substr(0, std::string(message).size()) : "", message) << name << " " << value;
  }
  RenderRequest futures{FindChartKind("innerouter"), {"FITX", "", "1", ""}, {400, 279}};
  EXPECT_NE(CheckRenderRequest(futures)->message.find("smallest size that works is 308x280"), std::string::npos);
  EXPECT_EQ(std::get<UsageError>(TickText("stock", "0")).message, "PRICE must be a positive decimal price, not \"0\"");
}

TEST(CliMarkets, TickNamesTheTableAndTheBandAndScaleRunsThroughTheReference) {
  const std::pair<std::pair<const char*, const char*>, const char*> ticks[] = {
      {{"stock", "10"},
       "stock 10: tick 0.01, from the client's tick table for listed stocks: 0.01 up to and including "
       "10, then 0.05\n"},
      {{"option-FITX", "10"},
       "option-FITX 10: tick 0.5, from the client's tick table for TAIEX options: 0.5 from 10 "
       "to below 50, then 1\n"},
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
