// Rounding and the short texts of volumes and prices.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <kelochart/services/KeloDataFormat.h>
#include <kelochart/services/KeloUtility.h>

namespace {

constexpr unsigned kLibraryKind = 0xFFFFFFFFu;

TEST(Round, RoundsTheTypedDecimalHalfAwayFromZero) {
  struct Case {
    double value;
    int decimals;
    double expected;
  };
  const Case cases[] = {
      {1.005, 2, 1.01},      {-1.005, 2, -1.01},   {2.675, 2, 2.68},     {1.0049, 2, 1.0},
      {0.05, 1, 0.1},        {-0.05, 1, -0.1},     {0.15, 1, 0.2},       {0.25, 1, 0.3},
      {1.2345, 3, 1.235},    {1.2344, 3, 1.234},   {123.456, 1, 123.5},  {0.5, 0, 1.0},
      {-2.5, 0, -3.0},       {1.23456, 12, 1.23456},
      {1e20, 2, 1e20},       {0.0004, 3, 0.0},     {99.995, 2, 100.0},   {1.26, -3, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeloUtility::Round(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
  }
}

TEST(Round, NeverYieldsNegativeZeroAndPassesNonFiniteValuesThrough) {
  EXPECT_FALSE(std::signbit(KeloUtility::Round(-0.0004, 3)));
  for (int d : {-1, 0, 2, 9, 12}) EXPECT_FALSE(std::signbit(KeloUtility::Round(-0.0, d))) << d;
  EXPECT_TRUE(std::isnan(KeloUtility::Round(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_EQ(KeloUtility::Round(std::numeric_limits<double>::infinity(), 2),
            std::numeric_limits<double>::infinity());
  EXPECT_EQ(KeloUtility::Round(-std::numeric_limits<double>::max(), 1), -std::numeric_limits<double>::max());
  EXPECT_EQ(KeloUtility::Round(std::numeric_limits<double>::denorm_min(), 3), 0.0);
}

struct VolumeCase {
  std::int64_t volume;
  const char* plain;       // VolumeFormatA
  const char* shortText;   // ConvertToShortVolumeFormat: text
  const char* suffix;
  int underline;
};

const VolumeCase kVolumes[] = {
    {0, "0", "0", "", 0},
    {12345, "12345", "12345", "", 0},
    {99999, "99999", "99999", "", 0},
    {-99999, "-99999", "-99999", "", 0},
    {100000, "100K", "100K", "K", 0},
    {123456, "123K", "123K", "K", 0},
    {123500, "124K", "124K", "K", 0},
    {999499, "999K", "999K", "K", 0},
    {999500, "1M", "1M", "M", 0},
    {1234567, "1.23M", "123M", "M", 2},
    {1500000, "1.5M", "15M", "M", 1},
    {12345678, "12.3M", "123M", "M", 1},
    {-12345678, "-12.3M", "-123M", "M", 1},
    {987654321, "988M", "988M", "M", 0},
    {2147483647, "2.15B", "215B", "B", 2},
    {-2147483648LL, "-2.15B", "-215B", "B", 2},
    {1000000000000LL, "1T", "1T", "T", 0},
    {std::numeric_limits<std::int64_t>::max(), "9.22E", "922E", "E", 2},
    {std::numeric_limits<std::int64_t>::min(), "-9.22E", "-922E", "E", 2},
};

TEST(VolumeText, KeepsThreeSignificantDigitsWithAUnitOfThousands) {
  for (const VolumeCase& c : kVolumes) {
    CString text = "stale";
    KeloUtility::VolumeFormatA(text, c.volume, 1);
    EXPECT_EQ(text.str(), c.plain) << c.volume;
    EXPECT_LE(text.GetLength(), 6) << "fits the label column: " << c.volume;
    if (c.volume >= INT32_MIN && c.volume <= INT32_MAX) {
      CString text32;
      KeloUtility::VolumeFormatA(text32, static_cast<std::int32_t>(c.volume), 1);
      EXPECT_EQ(text32, text) << "32-bit form of " << c.volume;
    }
  }
}

TEST(VolumeText, ShortFormUnderlinesTheDecimalsAndEndsWithItsUnit) {
  for (const VolumeCase& c : kVolumes) {
    for (unsigned kind : {kLibraryKind, 0u, 7u}) {
      CString text = "stale";
      CString suffix = "stale";
      int count = -1;
      ConvertToShortVolumeFormat(kind, c.volume, &text, &suffix, &count, 0);
      EXPECT_EQ(text.str(), c.shortText) << c.volume;
      EXPECT_EQ(suffix.str(), c.suffix) << c.volume;
      EXPECT_EQ(count, c.underline) << c.volume;
      if (!suffix.IsEmpty()) {
        EXPECT_EQ(text.Right(1), suffix.Right(1)) << c.volume;
      }
    }
  }
}

TEST(PriceText, DropsThePointAndUnderlinesTheDecimals) {
  struct Case {
    const char* price;
    const char* shortText;
    int underline;
  };
  const Case cases[] = {
      {"12.34", "1234", 2},
      {"1234.50", "123450", 2},
      {"-12.5", "-125", 1},
      {"+0.05", "+005", 2},
      {"1234", "1234", 0},
      {"12345.67", "1234567", 2},       // seven characters still fit
      {"123456.78", "1234568", 1},      // one decimal dropped, rounded
      {"123456.74", "1234567", 1},
      {"999999.99", "1000000", 0},      // the carry lengthens the integer part
      {"-99999.99", "-100000", 0},
      {"1234567.89", "1234568", 0},
      {"123456789.5", "123456790", 0},  // integer digits are never cut
      {"0.0500", "00500", 4},
      {"12.34%", "12.34%", 0},          // not a plain number: left alone
      {"", "", 0},
      {"-", "-", 0},
      {".5", ".5", 0},
      {"1.2.3", "1.2.3", 0},
      {"nan", "nan", 0},
  };
  for (const Case& c : cases) {
    CString text = c.price;
    int count = -1;
    ConvertToShortPriceFormat(kLibraryKind, &text, &count);
    EXPECT_EQ(text.str(), c.shortText) << c.price;
    EXPECT_EQ(count, c.underline) << c.price;
  }
}

TEST(ShortFormats, NullPointersChangeNothing) {
  CString text = "12.34";
  CString suffix = "x";
  int count = 9;
  ConvertToShortPriceFormat(kLibraryKind, nullptr, &count);
  ConvertToShortPriceFormat(kLibraryKind, &text, nullptr);
  EXPECT_EQ(text.str(), "12.34");
  EXPECT_EQ(count, 9);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, nullptr, &suffix, &count, 0);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, &text, nullptr, &count, 0);
  ConvertToShortVolumeFormat(kLibraryKind, 1234567, &text, &suffix, nullptr, 0);
  EXPECT_EQ(text.str(), "12.34");
  EXPECT_EQ(suffix.str(), "x");
  EXPECT_EQ(count, 9);
}

}  // namespace
