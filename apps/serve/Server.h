// `kelochart serve`: the render service. Charts of the CSV files of one folder over HTTP, the
// same bytes as `kelochart render`, a market board for the browser, health and metrics.
#pragma once

#include <cstddef>
#include <string>

namespace kelo::serve {

struct ServeOptions {
  std::string dataDir;
  std::string host = "127.0.0.1";
  int port = 8080;       // 0: any free port (the one taken is logged)
  unsigned threads = 0;  // connection workers; 0: 64
  std::size_t cacheMb = 64;
  std::size_t maxBodyMb = 8;
};

// Serves until SIGTERM or SIGINT, then stops accepting, finishes the requests in flight and
// returns 0 (within five seconds); 1 when the folder or the address cannot be used.
int RunServe(const ServeOptions& options);

}  // namespace kelo::serve
