// KeloChart: the whole public interface in one header, each public header once.
//
// A Linux program includes its platform's headers too, before or after this one. Xlib defines
// common words as macros (Status, Bool, None, Success, True, False, ...): they are set aside
// while the library's headers are read and restored afterwards, so the program sees them as
// Xlib left them. TRUE, FALSE and the other names glib may define are guarded in Types.h.
#pragma once

#pragma push_macro("Status")
#pragma push_macro("Bool")
#pragma push_macro("None")
#pragma push_macro("Success")
#pragma push_macro("True")
#pragma push_macro("False")
#pragma push_macro("Always")
#pragma push_macro("Complex")
#pragma push_macro("Convex")
#undef Status
#undef Bool
#undef None
#undef Success
#undef True
#undef False
#undef Always
#undef Complex
#undef Convex

#include <kelochart/surface/Types.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>
#include <kelochart/surface/Backend.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>
#include <kelochart/surface/PngEncoder.h>
#include <kelochart/surface/FontAnswers.h>

#include <kelochart/services/KeloUtility.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloDataFormat.h>

#include <kelochart/calculate/KeloChartCalculate.h>

#include <kelochart/chart/KeloBaseChart.h>

#include <kelochart/curve/KeloBaseCurve.h>
#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/kline/KLineSeries.h>
#include <kelochart/kline/KeloKLine.h>

#pragma pop_macro("Convex")
#pragma pop_macro("Complex")
#pragma pop_macro("Always")
#pragma pop_macro("False")
#pragma pop_macro("True")
#pragma pop_macro("Success")
#pragma pop_macro("None")
#pragma pop_macro("Bool")
#pragma pop_macro("Status")
