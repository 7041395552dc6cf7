// A program that includes the library's umbrella header first and its platform's headers
// (glib, Xlib, cairo) after it: it must compile, and both sets of names must work.
#include <kelochart/KeloChartLib.h>

#include <X11/Xlib.h>
#include <cairo.h>
#include <glib.h>

int PlatformAfter() {
  Status xlibStatus = Success;
  gboolean glibFlag = TRUE;
  Gdiplus::GpStatus status = Gdiplus::InvalidParameter;
  return (xlibStatus == 0 && glibFlag && status == Gdiplus::InvalidParameter && FALSE == 0) ? 0 : 1;
}
