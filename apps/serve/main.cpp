// kelochart-serve: the render service's program, started by `kelochart serve` with the
// arguments that follow `serve` (it can be started by itself too).
//
//   kelochart-serve --data DIR [--host H] [--port P] [--threads N] [--cache-mb M] [--max-body-mb B]
//
// Exit codes: 0 stopped by SIGTERM or SIGINT, 1 the folder or the address cannot be used,
// 2 bad usage.
#include <CLI/CLI.hpp>

#include "ServeCommand.h"
#include "Server.h"

int main(int argc, char** argv) {
  CLI::App app{"serve the charts of a folder of CSV files over HTTP, with a market board", "kelochart serve"};
  kelo::serve::ServeOptions options;
  kelo::serve::AddServeOptions(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  return kelo::serve::RunServe(options);
}
