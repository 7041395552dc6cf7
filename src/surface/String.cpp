// CString: printf-style formatting through vsnprintf and the slicing helpers of label code.
#include <kelochart/surface/String.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string FormatV(const char* format, va_list args) {
  if (format == nullptr) return std::string();
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return std::string();
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, static_cast<std::size_t>(needed));
  std::vector<char> big(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<std::size_t>(needed));
}

}  // namespace

CString::CString(const char* s, int length) {
  if (s == nullptr || length <= 0) return;
  // Never read past a terminator that comes before length.
  text_.assign(s, ::strnlen(s, static_cast<std::size_t>(length)));
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  text_ = FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  text_ += FormatV(format, args);
  va_end(args);
}

CString CString::Left(int count) const {
  if (count <= 0) return CString();
  if (count >= GetLength()) return *this;
  return CString(text_.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const {
  if (count <= 0) return CString();
  if (count >= GetLength()) return *this;
  return CString(text_.substr(text_.size() - static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const {
  if (first < 0) first = 0;
  if (first >= GetLength()) return CString();
  return CString(text_.substr(static_cast<std::size_t>(first)));
}

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count <= 0 || first >= GetLength()) return CString();
  const std::size_t available = text_.size() - static_cast<std::size_t>(first);
  const std::size_t n = static_cast<std::size_t>(count) < available ? static_cast<std::size_t>(count) : available;
  return CString(text_.substr(static_cast<std::size_t>(first), n));
}

CString CString::Tokenize(const char* delimiters, int& start) const {
  if (start < 0) return CString();
  const std::string_view delims = delimiters ? delimiters : "";
  const std::size_t n = text_.size();
  std::size_t i = static_cast<std::size_t>(start);
  if (i >= n) {
    start = -1;
    return CString();
  }
  if (delims.empty()) {
    // Without delimiters the rest of the text is one token.
    start = static_cast<int>(n);
    return CString(text_.substr(i));
  }
  while (i < n && delims.find(text_[i]) != std::string_view::npos) ++i;
  if (i >= n) {
    start = -1;
    return CString();
  }
  std::size_t j = i;
  while (j < n && delims.find(text_[j]) == std::string_view::npos) ++j;
  // start moves one past the token's end (past the delimiter that ends it), as MFC does.
  start = static_cast<int>(j + 1);
  return CString(text_.substr(i, j - i));
}

int CString::Find(char c, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  const std::size_t pos = text_.find(c, static_cast<std::size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}
