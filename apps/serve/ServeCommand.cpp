#include "ServeCommand.h"

namespace kelo::serve {

void AddServeOptions(CLI::App& command, ServeOptions& options) {
  command.add_option("--data", options.dataDir, "folder of <symbol>.csv files")->required();
  command.add_option("--host", options.host, "address to listen on")->capture_default_str();
  command.add_option("--port", options.port, "port (0: any free port)")->capture_default_str();
  command.add_option("--threads", options.threads, "connection workers (default 64; renders run one per core)");
  command.add_option("--cache-mb", options.cacheMb, "chart cache size in MiB")->capture_default_str();
  command.add_option("--max-body-mb", options.maxBodyMb, "largest POST body in MiB")->capture_default_str();
}

}  // namespace kelo::serve
