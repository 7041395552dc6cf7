// KeloChart: the whole public interface in one header.
#pragma once

#include <kelochart/surface/Types.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>
#include <kelochart/surface/Backend.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

#include <kelochart/services/KeloUtility.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloDataFormat.h>

#include <kelochart/calculate/KeloChartCalculate.h>

#include <kelochart/chart/KeloBaseChart.h>

#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/curve/KeloBaseCurve.h>
#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/kline/KLineSeries.h>
#include <kelochart/kline/KeloKLine.h>
