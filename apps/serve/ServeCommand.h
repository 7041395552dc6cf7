// The options of `kelochart serve`, registered on a command line. The tool registers them
// for its help and its checks of usage, then hands the command to the service's own program
// (kelochart-serve beside it), which registers the same options and serves: the tool that
// renders does not load the HTTP library and the TLS and compression libraries it links.
#pragma once

#include <CLI/CLI.hpp>

#include "Server.h"

namespace kelo::serve {

void AddServeOptions(CLI::App& command, ServeOptions& options);

// The program the tool hands `serve` to: kelochart-serve in the folder of the running program.
inline constexpr const char* kServeProgram = "kelochart-serve";

}  // namespace kelo::serve
