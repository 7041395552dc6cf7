// Rounding and the short texts of volumes and prices.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include <kelochart/services/KeloDataFormat.h>
#include <kelochart/services/KeloUtility.h>

namespace {

constexpr unsigned kLibraryKind = 0xFFFFFFFFu;

TEST(Round, RoundsTheTypedDecimalHalfAwayFromZeroNeverToNegativeZero) {
  const std::tuple<double, int, double> cases[] = {
      {1.005, 2, 1.01},
      {-1.005, 2, -1.01},
      {2.675, 2, 2.68},
      {1.0049, 2, 1.0},
      {0.05, 1, 0.1},
      {-0.05, 1, -0.1},
      {0.15, 1, 0.2},
      {1.2345, 3, 1.235},
      {1.2344, 3, 1.234},
      {-2.5, 0, -3.0},
      {1.23456, 12, 1.23456},
      {0.12345678905, 10, 0.123456789},  // nine decimals at most
      {1e20, 2, 1e20},
      {0.0004, 3, 0.0},
      {99.995, 2, 100.0},
      {1.26, -3, 1.0},
      {std::numeric_limits<double>::infinity(), 2, std::numeric_limits<double>::infinity()},
      {-std::numeric_limits<double>::max(), 1, -std::numeric_limits<double>::max()},
      {std::numeric_limits<double>::denorm_min(), 3, 0.0}};
  for (const auto& [value, decimals, expected] : cases) {
    EXPECT_EQ(KeloUtility::Round(value, decimals), expected) << value << " to " << decimals;
  }
  EXPECT_FALSE(std::signbit(KeloUtility::Round(-0.0004, 3)));
  for (int d : {-1, 0, 2, 9, 12}) EXPECT_FALSE(std::signbit(KeloUtility::Round(-0.0, d))) << d;
  EXPECT_TRUE(std::isnan(KeloUtility::Round(std::numeric_limits<double>::quiet_NaN(), 2)));
}

struct VolumeCase {
  std::int64_t volume;
  const char* plain;      // VolumeFormatA
  const char* shortText;  // ConvertToShortVolumeFormat: text
  const char* suffix;
  int underline;
};

const VolumeCase kVolumes[] = {
    {0, "0", "0", "", 0},
    {99999, "99999", "99999", "", 0},
    {-99999, "-99999", "-99999", "", 0},
    {100000, "100K", "100K", "K", 0},
    {123500, "124K", "124K", "K", 0},
    {999499, "999K", "999K", "K", 0},
    {999500, "1M", "1M", "M", 0},
    {1234567, "1.23M", "123M", "M", 2},
    {1500000, "1.5M", "15M", "M", 1},
    {-12345678, "-12.3M", "-123M", "M", 1},
    {987654321, "988M", "988M", "M", 0},
    {2147483647, "2.15B", "215B", "B", 2},
    {-2147483648LL, "-2.15B", "-215B", "B", 2},
    {1000000000000LL, "1T", "1T", "T", 0},
    {std::numeric_limits<std::int64_t>::max(), "9.22E", "922E", "E", 2},
    {std::numeric_limits<std::int64_t>::min(), "-9.22E", "-922E", "E", 2},
};

TEST(VolumeText, KeepsThreeSignificantDigitsAndTheShortFormUnderlinesTheDecimals) {
  for (const VolumeCase& c : kVolumes) {
    CString text = "stale", suffix = "stale";
    KeloUtility::VolumeFormatA(text, c.volume, 1);
    EXPECT_EQ(text.str(), c.plain) << c.volume;
    if (c.volume >= INT32_MIN && c.volume <= INT32_MAX) {
      CString text32;
      KeloUtility::VolumeFormatA(text32, static_cast<std::int32_t>(c.volume), 1);
      EXPECT_EQ(text32, text) << "32-bit form of " << c.volume;
    }
    int count = -1;
    ConvertToShortVolumeFormat(c.volume % 2 == 0 ? kLibraryKind : 7u, c.volume, &text, &suffix, &count, 0);
    EXPECT_EQ(text.str(), c.shortText) << c.volume;
    EXPECT_EQ(suffix.str(), c.suffix) << c.volume;
    EXPECT_EQ(count, c.underline) << c.volume;
  }
}

TEST(PriceText, DropsThePointAndUnderlinesTheDecimals) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"12.34", "1234", 2},
      {"-12.5", "-125", 1},
      {"+0.05", "+005", 2},
      {"1234", "1234", 0},
      {"12345.67", "1234567", 2} /* seven characters still fit */,
      {"123456.78", "1234568", 1} /* one decimal dropped, rounded */,
      {"123456.74", "1234567", 1},
      {"999999.99", "1000000", 0} /* the carry lengthens the integer part */,
      {"-99999.99", "-100000", 0},
      {"123456789.5", "123456790", 0} /* integer digits are never cut */,
      {"0.0500", "00500", 4},
      {"12.34%", "12.34%", 0} /* not a plain number: left alone */,
      {"", "", 0},
      {"-", "-", 0},
      {".5", ".5", 0},
      {"1.2.3", "1.2.3", 0},
      {"nan", "nan", 0}};
  for (const auto& [price, shortText, underline] : cases) {
    CString text = price;
    int count = -1;
    ConvertToShortPriceFormat(kLibraryKind, &text, &count);
    EXPECT_EQ(text.str(), shortText) << price;
    EXPECT_EQ(count, underline) << price;
  }
  // Null pointers change nothing.
  CString text = "12.34", suffix = "x";
  int count = 9;
  ConvertToShortPriceFormat(kLibraryKind, nullptr, &count);
  ConvertToShortPriceFormat(kLibraryKind, &text, nullptr);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, nullptr, &suffix, &count, 0);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, &text, nullptr, &count, 0);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, &text, &suffix, nullptr, 0);
  EXPECT_EQ(text.str() + suffix.str() + std::to_string(count), "12.34x9");
}

}  // namespace
