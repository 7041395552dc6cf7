// A program that includes its platform's headers first (glib, Xlib, cairo) and the library's
// umbrella header after them: it must compile, and the platform's macros must be as they left them.
#include <X11/Xlib.h>
#include <cairo.h>
#include <glib.h>

#include <kelochart/KeloChartLib.h>

static_assert(Success == 0 && None == 0L, "Xlib's macros are restored after the umbrella header");

int PlatformFirst() {
  Bool xlibFlag = True;
  gboolean glibFlag = TRUE;
  Gdiplus::GpStatus status = Gdiplus::Ok;
  const BOOL done = FALSE;
  return (xlibFlag && glibFlag && status == Gdiplus::Ok && !done && RGB(1, 2, 3) == 0x030201u) ? 0 : 1;
}
