// CString: narrow text (UTF-8 is the code page here) with printf-style formatting and the
// few slicing helpers that label code needs. Lengths are in bytes, as in a narrow string.
#pragma once

#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* s) : text_(s ? s : "") {}    // NOLINT: implicit like MFC
  CString(std::string s) : text_(std::move(s)) {}  // NOLINT
  CString(std::string_view s) : text_(s) {}        // NOLINT
  CString(const char* s, int length);

  // printf-style formatting; the result replaces the text. Any length works.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }
  // Leftmost / rightmost count bytes (clamped to 0..length), and the middle from first.
  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  // The next token after start, skipping any run of delimiter characters; start moves past
  // it. When no token is left, returns an empty string and sets start to -1.
  CString Tokenize(const char* delimiters, int& start) const;
  int Find(char c, int start = 0) const;

  // The byte at index; '\0' outside the text (never throws).
  char GetAt(int index) const {
    return index >= 0 && index < GetLength() ? text_[static_cast<std::size_t>(index)] : '\0';
  }
  const char* GetString() const { return text_.c_str(); }
  operator const char*() const { return text_.c_str(); }  // NOLINT: as LPCSTR
  const std::string& str() const { return text_; }

  CString& operator+=(const CString& other) {
    text_ += other.text_;
    return *this;
  }
  CString& operator+=(const char* other) {
    text_ += (other ? other : "");
    return *this;
  }
  CString& operator+=(char c) {
    text_ += c;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) {
    a += b;
    return a;
  }
  friend CString operator+(CString a, const char* b) {
    a += b;
    return a;
  }
  friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
  friend bool operator==(const CString& a, const char* b) { return a.text_ == (b ? b : ""); }
  friend bool operator<(const CString& a, const CString& b) { return a.text_ < b.text_; }

 private:
  std::string text_;
};
