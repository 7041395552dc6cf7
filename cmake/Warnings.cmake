# The warning flags of every target the project builds (library layers, tool, samples, tests,
# benchmarks, fuzz targets), in one place: link `kelochart_warnings` PRIVATE. Users building
# with another compiler or a newer release get warnings, not a failed build; the builds of
# tools/kelochart test (CMakePresets.json) turn them into errors with KELOCHART_WERROR.
option(KELOCHART_WERROR "Treat compiler warnings as errors" OFF)

add_library(kelochart_warnings INTERFACE)
# -Wno-unused-parameter: the device-context and backend interfaces take parameters that
# some implementations do not need (a recording keeps no font metrics, a raster no names).
# -Wno-missing-field-initializers: option structs are built from their leading fields
# ({"FITX", "", "", "15:00-05:00"}) and the rest keep their defaults by design.
target_compile_options(kelochart_warnings INTERFACE
  -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
  $<$<BOOL:${KELOCHART_WERROR}>:-Werror>)
