// The bounded chart cache, its keys and ETags.
#include "ChartCache.h"

#include <algorithm>
#include <cstdio>

namespace kelo::serve {

std::string ChartKey(std::string_view kind, std::string_view symbol, std::string_view format, const FileStamp& stamp,
                     const std::map<std::string, std::string>& options) {
  // Fields are separated by a byte no kind, symbol, format or option name can hold; values
  // are length-prefixed, so no value can imitate another field.
  std::string key;
  key.append(kind).push_back('\n');
  key.append(symbol).push_back('\n');
  key.append(format).push_back('\n');
  key += std::to_string(stamp.size) + '\n' + std::to_string(stamp.mtimeNs) + '\n' + std::to_string(stamp.inode) + '\n';
  for (const auto& [name, value] : options) key += name + '=' + std::to_string(value.size()) + ':' + value + '\n';
  return key;
}

std::string StrongETag(std::string_view text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char out[24];
  std::snprintf(out, sizeof out, "\"%016llx\"", static_cast<unsigned long long>(h));
  return out;
}

bool ETagMatches(std::string_view header, std::string_view etag) {
  std::size_t start = 0;
  while (start < header.size()) {
    const std::size_t comma = std::min(header.find(',', start), header.size());
    std::string_view tag = header.substr(start, comma - start);
    start = comma + 1;
    while (!tag.empty() && (tag.front() == ' ' || tag.front() == '\t')) tag.remove_prefix(1);
    while (!tag.empty() && (tag.back() == ' ' || tag.back() == '\t')) tag.remove_suffix(1);
    if (tag == "*") return true;
    if (tag.substr(0, 2) == "W/") tag.remove_prefix(2);  // If-None-Match compares weakly
    if (!tag.empty() && tag == etag) return true;
  }
  return false;
}

std::size_t ChartCache::Cost(const std::string& key, const CachedChart& chart) {
  return chart.bytes.size() + chart.etag.size() + 2 * key.size() + 160;
}

std::shared_ptr<const CachedChart> ChartCache::Find(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  order_.splice(order_.begin(), order_, it->second);
  return it->second->second;
}

void ChartCache::Insert(const std::string& key, std::shared_ptr<const CachedChart> chart) {
  if (!chart) return;
  const std::size_t cost = Cost(key, *chart);
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = index_.find(key); it != index_.end()) {
    bytes_ -= Cost(key, *it->second->second);
    order_.erase(it->second);
    index_.erase(it);
  }
  if (cost > capacity_) return;
  while (bytes_ + cost > capacity_ && !order_.empty()) {
    const Entry& last = order_.back();
    bytes_ -= Cost(last.first, *last.second);
    index_.erase(last.first);
    order_.pop_back();
  }
  order_.emplace_front(key, std::move(chart));
  index_.emplace(key, order_.begin());
  bytes_ += cost;
}

std::size_t ChartCache::Bytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

std::size_t ChartCache::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return order_.size();
}

}  // namespace kelo::serve
