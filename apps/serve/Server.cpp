// The render service on cpp-httplib: routing, the chart path (file, cache, render), the board,
// limits, the access log and the graceful stop.
#include "Server.h"

#include <httplib.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include "Batch.h"
#include "Board.h"
#include "ChartCache.h"
#include "CsvReader.h"
#include "JsonText.h"
#include "Metrics.h"
#include "RenderRequest.h"
#include "RequestPath.h"

namespace kelo::serve {

namespace {

namespace fs = std::filesystem;
using namespace kelo::cli;
using Clock = std::chrono::steady_clock;

// Limits of one request beyond those of the HTTP library (a request line of 8 KiB, a header
// line of 8 KiB): pixels of one picture (a 4K screen), header bytes and header count.
constexpr std::int64_t kMaxPixels = 3840LL * 2160;
constexpr std::size_t kMaxHeaderBytes = 16 << 10;
constexpr std::size_t kMaxHeaderCount = 64;
constexpr std::size_t kMaxInstruments = 20000;
constexpr unsigned kDefaultThreads = 64;

// The library's thread pool queues accepted connections without bound. This one holds at
// most `capacity` waiting connections; past that the accepting thread waits, so further
// clients wait in the kernel's listen queue instead of in our memory.
class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(std::size_t threads, std::size_t capacity) : capacity_(capacity) {
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
  }
  void enqueue(std::function<void()> fn) override {
    std::unique_lock<std::mutex> lock(mutex_);
    // After shutdown the job still runs (it closes its socket), so it is queued regardless.
    roomy_.wait(lock, [&] { return jobs_.size() < capacity_ || shutdown_; });
    jobs_.push_back(std::move(fn));
    ready_.notify_one();
  }
  void shutdown() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      shutdown_ = true;
    }
    ready_.notify_all();
    roomy_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> fn;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [&] { return !jobs_.empty() || shutdown_; });
        if (jobs_.empty()) return;
        fn = std::move(jobs_.front());
        jobs_.pop_front();
        roomy_.notify_one();
      }
      fn();
    }
  }
  std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable ready_, roomy_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  bool shutdown_ = false;
};

// Renders run on one thread per core, in the order they were asked; a connection worker
// hands its render over and waits. A semaphore in front of renders on the workers themselves
// woke its waiters in any order (p99 six times p50 at 32 connections), and every one of the
// 64 workers that ever drew kept its own picture buffers and malloc arena (463 MB resident).
class RenderThreads {
 public:
  explicit RenderThreads(unsigned count) : pool_(count, SIZE_MAX) {}
  ~RenderThreads() { pool_.shutdown(); }
  RenderResult Run(const std::function<RenderResult()>& render) {
    std::promise<RenderResult> done;
    std::future<RenderResult> result = done.get_future();
    pool_.enqueue([&] {  // render and done live until the result is taken below
      try {
        done.set_value(render());
      } catch (...) {
        done.set_exception(std::current_exception());
      }
    });
    return result.get();  // rethrows what the render threw (std::bad_alloc)
  }

 private:
  BoundedPool pool_;  // unbounded: at most one render waits per connection worker
};

const char* ContentType(std::string_view format) {
  if (format == "svg") return "image/svg+xml";
  if (format == "pdf") return "application/pdf";
  return "image/png";
}

const char* StatusText(int status) {
  switch (status) {
    case 400: return "bad request";
    case 404: return "not found";
    case 405: return "method not allowed";
    case 408: return "request timeout";
    case 413: return "request body too large";
    case 414: return "request target too long";
    case 431: return "request header fields too large";
    case 503: return "service unavailable";
    default: return status >= 500 ? "internal error" : "request refused";
  }
}

void SendError(httplib::Response& res, int status, std::string_view message, int line = 0, int column = 0) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(JsonError(message, line, column), "application/json");
}

void SendInputError(httplib::Response& res, const InputError& e) { SendError(res, 400, e.Text(), e.line, e.column); }

std::string Hex(std::uint64_t v) {
  char out[20];
  std::snprintf(out, sizeof out, "%llx", static_cast<unsigned long long>(v));
  return out;
}

// The start of the request this worker thread is answering, for the access log and the
// latency histogram (the library calls the logger on the same thread).
thread_local Clock::time_point tRequestStart{};

class Service {
 public:
  Service(const ServeOptions& options, fs::path dir)
      : dir_(std::move(dir)), cache_(options.cacheMb << 20),
        renders_(std::max(1u, std::thread::hardware_concurrency())) {}

  void Handle(const httplib::Request& req, httplib::Response& res, std::string_view body = {}) {
    auto parsed = ParseTarget(req.target);
    if (auto* error = std::get_if<TargetError>(&parsed)) return SendError(res, error->status, error->message);
    const Target& t = std::get<Target>(parsed);
    const bool post = t.route == Route::kRender;
    if (post ? req.method != "POST" : (req.method != "GET" && req.method != "HEAD")) {
      res.set_header("Allow", post ? "POST" : "GET, HEAD");
      return SendError(res, 405, std::string(req.method) + " is not allowed here");
    }
    switch (t.route) {
      case Route::kBoard: return SendText(req, res, std::string(BoardPage()), "text/html; charset=utf-8");
      case Route::kState: return SendText(req, res, BoardState(Versions()), "application/json");
      case Route::kHealth: res.set_header("Cache-Control", "no-store"); return res.set_content("ok", "text/plain");
      case Route::kMetrics:
        res.set_header("Cache-Control", "no-store");
        return res.set_content(metrics_.Text(cache_.Bytes(), cache_.Count()), "text/plain; version=0.0.4");
      case Route::kChart: return Chart(req, res, t);
      case Route::kRender: return Render(res, t, body);
    }
  }

  void Log(const httplib::Request& req, const httplib::Response& res) {
    double seconds = 0;
    if (tRequestStart != Clock::time_point{}) {
      seconds = std::chrono::duration<double>(Clock::now() - tRequestStart).count();
      tRequestStart = {};
    }
    metrics_.Record(RouteLabel(req.target), res.status, seconds, res.body.size());
    // The target is printed with its control bytes escaped, so a request cannot forge log lines.
    std::string target;
    for (char c : req.target.substr(0, 512)) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '"') {
        target += "\\x" + Hex(static_cast<unsigned char>(c));
      } else {
        target += c;
      }
    }
    std::fprintf(stderr, "%s \"%s %s\" %d %zu %.1fms\n", req.remote_addr.empty() ? "-" : req.remote_addr.c_str(),
                 req.method.empty() ? "-" : req.method.c_str(), target.c_str(), res.status, res.body.size(),
                 seconds * 1000);
  }

 private:
  // A small text answer with its ETag, 304 when the client has it.
  void SendText(const httplib::Request& req, httplib::Response& res, std::string body, const char* type) {
    const std::string etag = StrongETag(body);
    res.set_header("ETag", etag);
    res.set_header("Cache-Control", "no-cache");
    if (ETagMatches(req.get_header_value("If-None-Match"), etag)) {
      res.status = 304;
      return;
    }
    res.set_content(std::move(body), type);
  }

  // The options of the query on the request: unknown names are ignored (a page may add its
  // own cache-buster), a known one with a bad value is the error returned. format follows
  // the path's extension, so it is not taken from the query. options receives the canonical
  // names and values, the cache key's part.
  std::optional<std::string> ApplyQuery(const Query& query, RenderRequest& request,
                                        std::map<std::string, std::string>& options) {
    for (const auto& [rawName, value] : query) {
      std::string name = rawName;
      std::replace(name.begin(), name.end(), '_', '-');
      if (name == "format") continue;
      const auto& known = RenderOptions();
      if (std::none_of(known.begin(), known.end(), [&](const RenderOption& o) { return name == o.name; })) continue;
      if (auto error = SetRenderOption(request, name, value)) return error->message;
      options[name] = value;
    }
    // Options checked against each other and the kind (a size too small for the kind's
    // labels, a price scale too coarse for the category), as the command line does.
    if (request.kind) {
      if (auto error = CheckRenderRequest(request)) return error->message;
    }
    if (static_cast<std::int64_t>(request.style.width) * request.style.height > kMaxPixels) {
      return "a picture has at most " + std::to_string(kMaxPixels) + " pixels (3840x2160)";
    }
    return std::nullopt;
  }

  // The request for a kind and format with the query's options, or the error already sent.
  std::optional<RenderRequest> MakeRequest(httplib::Response& res, const Target& t,
                                           std::map<std::string, std::string>& options) {
    auto kind = KindByName(t.kind);
    if (auto* error = std::get_if<UsageError>(&kind)) {
      SendError(res, 404, error->message);
      return std::nullopt;
    }
    RenderRequest request;
    request.kind = std::get<const ChartKind*>(kind);
    request.format = *FormatForPath("x." + t.format);
    if (auto error = ApplyQuery(t.query, request, options)) {
      SendError(res, 400, *error);
      return std::nullopt;
    }
    return request;
  }

  // The instrument's file when it is a regular file inside the data folder: its canonical
  // path must lie in the folder's, so a symbolic link leading out of it is refused.
  std::optional<fs::path> Locate(std::string_view symbol, FileStamp& stamp) const {
    std::error_code ec;
    fs::path file = fs::canonical(dir_ / (std::string(symbol) + ".csv"), ec);
    if (ec || file.parent_path() != dir_) return std::nullopt;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    return file;
  }

  void SendChart(httplib::Response& res, const CachedChart& chart, std::string_view format) {
    res.set_content(reinterpret_cast<const char*>(chart.bytes.data()), chart.bytes.size(), ContentType(format));
  }

  void Chart(const httplib::Request& req, httplib::Response& res, const Target& t) {
    std::map<std::string, std::string> options;
    auto request = MakeRequest(res, t, options);
    if (!request) return;
    FileStamp stamp;
    auto file = Locate(t.symbol, stamp);
    if (!file) return SendError(res, 404, "no instrument " + t.symbol);
    // The file is stamped before it is read: a write in between leaves newer bytes under the
    // older stamp, which the next change replaces; never older bytes under a newer stamp.
    const std::string key = ChartKey(t.kind, t.symbol, t.format, stamp, options);
    const std::string etag = StrongETag(key);
    res.set_header("ETag", etag);
    res.set_header("Cache-Control", "no-cache");
    if (ETagMatches(req.get_header_value("If-None-Match"), etag)) {
      res.status = 304;
      return;
    }
    if (auto hit = cache_.Find(key)) {
      metrics_.CacheHit();
      return SendChart(res, *hit, t.format);
    }
    metrics_.CacheMiss();
    const std::string name = t.symbol + ".csv";
    auto text = ReadInput(file->string());
    if (auto* error = std::get_if<InputError>(&text)) {
      error->file = name;  // the folder's path stays private
      return SendInputError(res, *error);
    }
    auto result = Draw(*request, name, std::get<std::string>(text));
    if (auto* error = std::get_if<InputError>(&result)) return SendInputError(res, *error);
    auto chart = std::make_shared<CachedChart>();
    chart->bytes = std::move(std::get<std::vector<std::uint8_t>>(result));
    chart->etag = etag;
    cache_.Insert(key, chart);
    SendChart(res, *chart, t.format);
  }

  void Render(httplib::Response& res, const Target& t, std::string_view body) {
    std::map<std::string, std::string> options;
    auto request = MakeRequest(res, t, options);
    if (!request) return;
    std::string name = "chart";
    for (const auto& [key, value] : t.query) {
      if (key == "name") name = value;
    }
    if (!ValidSymbol(name))
      return SendError(res, 400, "name= is 1 to 64 of A-Z a-z 0-9 . _ - (not starting with a dot)");
    auto result = Draw(*request, name + ".csv", body);
    if (auto* error = std::get_if<InputError>(&result)) return SendInputError(res, *error);
    const auto& bytes = std::get<std::vector<std::uint8_t>>(result);
    res.set_header("Cache-Control", "no-store");
    res.set_content(reinterpret_cast<const char*>(bytes.data()), bytes.size(), ContentType(t.format));
  }

  // One render on the render threads (one per core: more threads drawing at once would only
  // share the cores and hold more picture memory).
  RenderResult Draw(const RenderRequest& request, const std::string& name, std::string_view text) {
    Metrics::Rendering counted(metrics_);
    return renders_.Run([&] { return RenderCsv(request, name, text); });
  }

  // Every instrument of the folder with a version that changes with its file, by symbol.
  std::vector<std::pair<std::string, std::string>> Versions() const {
    std::vector<std::pair<std::string, std::string>> out;
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end && out.size() < kMaxInstruments; it.increment(ec)) {
      const fs::path& p = it->path();
      if (p.extension() != ".csv") continue;
      const std::string symbol = p.stem().string();
      FileStamp stamp;
      if (!ValidSymbol(symbol) || !Locate(symbol, stamp)) continue;
      out.emplace_back(symbol,
                       Hex(stamp.size) + "-" + Hex(static_cast<std::uint64_t>(stamp.mtimeNs)) + "-" + Hex(stamp.inode));
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  fs::path dir_;
  ChartCache cache_;
  Metrics metrics_;
  RenderThreads renders_;  // last: gone first, when no worker waits on it any more
};

}  // namespace

int RunServe(const ServeOptions& options) {
  std::error_code ec;
  const fs::path dir = fs::canonical(options.dataDir, ec);
  if (ec || !fs::is_directory(dir)) {
    std::fprintf(stderr, "kelochart serve: %s is not a folder\n", options.dataDir.c_str());
    return 1;
  }
  // SIGTERM and SIGINT are taken by one thread that stops the server; every other thread
  // (the server's workers inherit this mask) leaves them blocked. A peer closing its socket
  // must not kill the process.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  // Above glibc's default threshold every large block of a request (a chart's layers and PNG
  // buffers; the former CSV reader's three 16 MiB buffers were half the CPU time of a 400x300
  // chart, docs/performance.md) is a new mapping, faulted in and unmapped per request. Kept
  // in the heap and not trimmed, they are reused from one request to the next (resident
  // memory holds only the pages a request touched).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  // Untrimmed, every malloc arena keeps its high-water mark, and glibc makes up to eight
  // arenas per core as the 64 workers take turns: resident memory grew by half between 5,000
  // and 50,000 requests while more arenas warmed up. Two per core (renders run one per core)
  // reach their plateau within the first thousand requests.
  mallopt(M_ARENA_MAX, static_cast<int>(2 * std::max(1u, std::thread::hardware_concurrency())));
  PrepareSharedObjects();
  Service service(options, dir);
  httplib::Server server;
  const unsigned threads = options.threads ? options.threads : kDefaultThreads;
  server.new_task_queue = [threads] { return new BoundedPool(threads, threads); };
  server.set_payload_max_length(options.maxBodyMb << 20);
  server.set_read_timeout(5, 0);
  server.set_write_timeout(5, 0);
  server.set_keep_alive_timeout(2);
  // A connection holds its worker for its whole life: after 100 requests it is closed, so a
  // client waiting for a worker (a health check behind busy keep-alive clients) gets one soon.
  server.set_keep_alive_max_count(100);
  // Headers and body go out in separate writes: with Nagle on, the body waited for the
  // peer's delayed ACK (40 ms per answer, measured on cache hits).
  server.set_tcp_nodelay(true);
  server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    tRequestStart = Clock::now();
    std::size_t bytes = 0;
    for (const auto& [name, value] : req.headers) bytes += name.size() + value.size() + 4;
    if (bytes > kMaxHeaderBytes || req.headers.size() > kMaxHeaderCount) {
      SendError(res, 431, "request header fields too large");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  const auto handle = [&service](const httplib::Request& req, httplib::Response& res) { service.Handle(req, res); };
  const std::string any = R"([\s\S]*)";
  server.Get(any, handle).Put(any, handle).Delete(any, handle).Patch(any, handle).Options(any, handle);
  // A POST body is read here rather than by the library, which would take a body sent as a
  // form (curl's default type) for form fields and refuse it past 8 KiB.
  // Past the limit the rest of a body up to four times the limit is read and dropped, so the
  // client, still sending, gets its 413 rather than a reset connection; a larger one is not
  // read at all, and the library closes the connection when the rest fails to parse.
  const std::size_t maxBody = options.maxBodyMb << 20;
  server.Post(any, [&service, maxBody](const httplib::Request& req, httplib::Response& res,
                                       const httplib::ContentReader& read) {
    std::string body;
    const std::uint64_t declared = std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10);
    bool over = declared > maxBody;
    // A POST without a length or chunks has no body; reading would wait for the peer to close.
    if (declared <= 4 * maxBody && (req.has_header("Content-Length") || req.has_header("Transfer-Encoding"))) {
      std::uint64_t seen = 0;
      read([&](const char* data, std::size_t n) {
        seen += n;
        if (seen > maxBody) over = true;
        if (!over) body.append(data, n);
        return seen <= 4 * maxBody;
      });
    }
    if (over) return SendError(res, 413, "the body is larger than --max-body-mb " + std::to_string(maxBody >> 20));
    service.Handle(req, res, body);
  });
  // Answers the library makes itself (a malformed request, a body over the limit, a target
  // too long) get the same JSON body as ours.
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        // The library answers a header line over 8 KiB with a bare 400 before routing: a request
        // whose request line was read but that never reached routing failed in its headers.
        if (res.status == 400 && tRequestStart == Clock::time_point{} && !req.version.empty()) res.status = 431;
        SendError(res, res.status, StatusText(res.status));
        return httplib::Server::HandlerResponse::Handled;
      }));
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    SendError(res, 500, "internal error");
  });
  server.set_logger([&service](const httplib::Request& req, const httplib::Response& res) { service.Log(req, res); });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(options.host);
  } else if (!server.bind_to_port(options.host, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::fprintf(stderr, "kelochart serve: cannot listen on %s:%d\n", options.host.c_str(), options.port);
    return 1;
  }
  std::fprintf(stderr, "kelochart serve: listening on http://%s:%d/ (data %s, %u threads)\n", options.host.c_str(),
               port, dir.c_str(), threads);

  std::thread stopper([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::fprintf(stderr, "kelochart serve: %s, finishing the requests in flight\n",
                 signal == SIGTERM ? "SIGTERM" : "SIGINT");
    server.stop();
    // A client that keeps its connection busy past the drain time does not hold the exit.
    std::this_thread::sleep_for(std::chrono::milliseconds(4500));
    std::fprintf(stderr, "kelochart serve: requests still open after 4.5 s, exiting\n");
    std::_Exit(0);
  });
  stopper.detach();
  server.listen_after_bind();
  std::fprintf(stderr, "kelochart serve: stopped\n");
  return 0;
}

}  // namespace kelo::serve
