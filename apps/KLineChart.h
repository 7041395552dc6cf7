// The `kline` chart kind: K-line (candlestick) charts over many days, from daily bars, minute
// bars or trades with a date, aggregated to the bar length asked for. It has its own input
// preparation: the one-day kinds check that the bars lie in one session, which many days do not.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include <kelochart/kline/KLineSeries.h>

#include "ChartInput.h"
#include "ChartKinds.h"
#include "KLineOptions.h"

namespace kelo::cli {

// Rows a K-line cannot be drawn from: open or close outside the bar's low-high range, a high
// below the low, a price that is not positive, dates and times that do not increase. The
// first one found, with its line.
std::optional<InputError> CheckKLineRows(const MinuteBars& data);

// The sessions of a category: stocks 09:00-13:30; futures and options 08:45-13:45 and, with
// a night session, 15:00-05:00.
std::vector<KeloKLine::SSession> KLineSessions(const CategoryInfo& category);

// The input's own bar length in minutes (1440 for daily rows, 0 for rows with seconds, which
// are trades; 1 for the reader's minute slots of trades).
std::int32_t InputPeriod(const MinuteBars& data);

// Checks the rows and the options against the data and aggregates the bars: in.data.bars
// holds the bars to draw (time 0 for a day or longer), in.kline the resolved options.
std::variant<ChartInput, InputError> PrepareKLineInput(MinuteBars data, const InputOptions& options,
                                                       const KLineOptions& kline);

// The preparation of a kind: its own for multi-day kinds, PrepareInput for the others.
std::variant<ChartInput, InputError> PrepareForKind(const ChartKind& kind, MinuteBars data, const InputOptions& options,
                                                    const KLineOptions& kline);

// The K-line gallery pictures: daily bars with MA and volume, 5-minute bars over five days with KD.
struct KLineGalleryEntry {
  const char* file;
  bool intraday;  // from SampleDays (minute bars over five days), else SampleDailyBars
  KLineOptions options;
};
std::vector<KLineGalleryEntry> KLineGallery();

void DrawKLineChart(CDC* dc, const ChartInput& in, const ChartStyle& style);

}  // namespace kelo::cli
