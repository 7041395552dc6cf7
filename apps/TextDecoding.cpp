// Encodings are converted with glibc's iconv, which knows code page 950 and UTF-16; this file
// only decides which one applies and turns a failed conversion into a line and column. It
// runs before the reader splits lines, so the reader sees one encoding only.
#include "TextDecoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace kelo::cli {

namespace {

std::string Lower(std::string_view s) {
  std::string out;
  for (char c : s) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

// Line and column of the end of a UTF-8 text, in characters: where a byte that follows it is.
InputError ErrorAfter(std::string_view name, std::string_view decoded, std::string message) {
  std::int32_t line = 1, column = 1;
  for (char c : decoded) {
    if (c == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && c != '\r') {
      ++column;
    }
  }
  return InputError{std::string(name), line, column, std::move(message)};
}

std::string ByteText(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// Converts with iconv; on an invalid or truncated sequence, the error points at it.
std::variant<std::string, InputError> Convert(std::string_view name, std::string_view bytes, const char* from,
                                              const char* what) {
  iconv_t cd = iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return InputError{std::string(name), 0, 0, std::string("no converter for ") + what};
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
  // Two bytes of Big5 or UTF-16 give at most three of UTF-8, one byte at most one.
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) {
    out.resize(out.size() - outLeft);
    const auto bad = static_cast<unsigned char>(*in);
    return ErrorAfter(name, out,
                      std::string("not ") + what + " text (byte " + ByteText(bad) +
                          (errno == EINVAL ? " ends the file inside a character" : " has no character") +
                          "): give the file's encoding with --encoding utf-8, big5 or utf-16");
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<Encoding> ParseEncoding(std::string_view name) {
  const std::string n = Lower(name);
  if (n.empty() || n == "auto") return Encoding::Auto;
  if (n == "utf-8" || n == "utf8") return Encoding::Utf8;
  if (n == "big5" || n == "cp950") return Encoding::Big5;
  if (n == "utf-16" || n == "utf16") return Encoding::Utf16;
  return std::nullopt;
}

std::size_t InvalidUtf8At(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int n = 0;
    std::uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) n = 1, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 2, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 3, cp = c & 0x07;
    else return i;
    if (i + static_cast<std::size_t>(n) >= s.size()) return i;  // cut off at the end
    for (int k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return i;
    }
    i += static_cast<std::size_t>(n) + 1;
  }
  return s.size();
}

std::variant<std::string, InputError> DecodeText(std::string_view name, std::string_view bytes, Encoding encoding) {
  const bool le = bytes.substr(0, 2) == "\xFF\xFE", be = bytes.substr(0, 2) == "\xFE\xFF";
  if (encoding == Encoding::Utf16 || (encoding == Encoding::Auto && (le || be))) {
    // Without a byte order mark, UTF-16 is taken as little-endian, as Windows writes it.
    if (le || be) bytes.remove_prefix(2);
    return Convert(name, bytes, be ? "UTF-16BE" : "UTF-16LE", "UTF-16");
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF" && encoding != Encoding::Big5) bytes.remove_prefix(3);
  if (encoding == Encoding::Big5) return Convert(name, bytes, "CP950", "Big5");
  const std::size_t bad = InvalidUtf8At(bytes);
  if (bad == bytes.size()) return std::string(bytes);
  if (encoding == Encoding::Auto) {
    // Text that is not UTF-8 is taken for Big5; if it is not that either, the message points
    // at the first byte that is not UTF-8, the more likely intent.
    auto big5 = Convert(name, bytes, "CP950", "Big5");
    if (std::holds_alternative<std::string>(big5)) return big5;
  }
  return ErrorAfter(name, bytes.substr(0, bad),
                    "not UTF-8 text (byte " + ByteText(static_cast<unsigned char>(bytes[bad])) +
                        (encoding == Encoding::Auto ? "), nor Big5" : ")") +
                        ": give the file's encoding with --encoding utf-8, big5 or utf-16");
}

}  // namespace kelo::cli
