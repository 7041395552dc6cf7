// Rendered charts kept in memory, bounded by bytes, least recently used first out. A chart is
// found again only under the same key: kind, symbol, format, the file's size, modification
// time and inode, and the options after normalisation, so a feed appending to a file (or
// replacing it) makes the next request draw anew, and the strong ETag is the key's hash.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelo::serve {

struct CachedChart {
  std::vector<std::uint8_t> bytes;
  std::string etag;
};

// What identifies a file's content for the cache: it changes when the file is appended to,
// rewritten or replaced by a rename.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::uint64_t inode = 0;
};

// The cache key of a chart. options are the canonical option names with their values (a
// later value of one name replaced an earlier one), in name order.
std::string ChartKey(std::string_view kind, std::string_view symbol, std::string_view format, const FileStamp& stamp,
                     const std::map<std::string, std::string>& options);

// A strong ETag: the quoted 64-bit FNV-1a hash of the text, in hex.
std::string StrongETag(std::string_view text);

// If-None-Match against our ETag: a list of tags, weak ones compared weakly, "*" matches all.
bool ETagMatches(std::string_view ifNoneMatch, std::string_view etag);

class ChartCache {
 public:
  explicit ChartCache(std::size_t capacityBytes) : capacity_(capacityBytes) {}

  // The chart under key (and it becomes the most recently used), or null.
  std::shared_ptr<const CachedChart> Find(const std::string& key);
  // Stores a chart, dropping the least recently used until it fits; a chart larger than
  // the whole cache is not kept.
  void Insert(const std::string& key, std::shared_ptr<const CachedChart> chart);

  std::size_t Bytes() const;
  std::size_t Count() const;
  // What one entry costs against the capacity: its bytes, its key twice (list and index)
  // and the bookkeeping around them.
  static std::size_t Cost(const std::string& key, const CachedChart& chart);

 private:
  using Entry = std::pair<std::string, std::shared_ptr<const CachedChart>>;
  mutable std::mutex mutex_;
  std::size_t capacity_;
  std::size_t bytes_ = 0;
  std::list<Entry> order_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace kelo::serve
