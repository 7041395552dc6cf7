// The service's pure pieces: request targets, symbols, percent-decoding, the cache's keys,
// bounds and ETags, JSON error text.
#include <gtest/gtest.h>

#include "ChartCache.h"
#include "JsonText.h"
#include "RequestPath.h"

namespace kelo::serve {
namespace {

TEST(RequestPath, TargetsParseToRouteKindSymbolFormatOrRefusal) {
  struct Case {
    const char* target;
    int status;  // 0: parsed
    Route route;
    const char* kind;
    const char* symbol;
    const char* format;
  };
  const Case cases[] = {
      {"/", 0, Route::kBoard, "", "", ""},
      {"/state?x=1", 0, Route::kState, "", "", ""},
      {"/chart/intraday/2330.TW.png?size=400x300", 0, Route::kChart, "intraday", "2330.TW", "png"},
      {"/chart/xy/TXF_L6-1.svg", 0, Route::kChart, "xy", "TXF_L6-1", "svg"},
      {"/render/figure.pdf", 0, Route::kRender, "figure", "", "pdf"},
      {"/chart/intraday/2330.gif", 404},
      {"/chart/intraday/2330", 404},
      {"/chart//2330.png", 404},
      {"/render/.png", 404},
      {"/chart/intraday/..png", 400},
      {"/chart/intraday/%2e%2e%2fetc.png", 400},
      {"/chart/intraday/a%20b.png", 400},
      {"/chart/intraday/a:b.png", 400},
      {"", 400},
      {"/chart/intraday/2330.png?size=%2", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    auto result = ParseTarget(c.target);
    if (c.status) {
      ASSERT_TRUE(std::holds_alternative<TargetError>(result));
      EXPECT_EQ(std::get<TargetError>(result).status, c.status);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<Target>(result));
    const Target& t = std::get<Target>(result);
    EXPECT_EQ(t.route, c.route);
    EXPECT_EQ(t.kind, c.kind);
    EXPECT_EQ(t.symbol, c.symbol);
    EXPECT_EQ(t.format, c.format);
  }
}

TEST(RequestPath, QueryIsDecodedInOrderAndBounded) {
  auto t = std::get<Target>(ParseTarget("/?session=15%3A00-05%3A00&&name=a+b&flag&x=%E5%8F%B0"));
  const Query expected = {{"session", "15:00-05:00"}, {"name", "a b"}, {"flag", ""}, {"x", "\xE5\x8F\xB0"}};
  EXPECT_EQ(t.query, expected);
  std::string many = "/?";
  for (std::size_t i = 0; i <= kMaxQueryParameters; ++i) many += "a=1&";
  EXPECT_EQ(std::get<TargetError>(ParseTarget(many)).status, 400);
  EXPECT_EQ(std::get<TargetError>(ParseTarget("/?v=" + std::string(kMaxParameterBytes + 1, 'v'))).status, 400);
  EXPECT_TRUE(std::holds_alternative<Target>(ParseTarget("/?v=" + std::string(kMaxParameterBytes, 'v'))));
}

TEST(RequestPath, SymbolsAndRouteLabels) {
  EXPECT_TRUE(ValidSymbol(std::string(64, 'A')));
  EXPECT_FALSE(ValidSymbol(std::string(65, 'A')));
  for (const char* bad : {"", ".", "..", ".x", "a..b", "a/b", "a b", "\xE5\x8F\xB0"})
    EXPECT_FALSE(ValidSymbol(bad)) << bad;
  EXPECT_EQ(SplitSymbol("2330.TW.png"), std::make_pair(std::string("2330.TW"), std::string("png")));
  const std::pair<const char*, const char*> labels[] = {
      {"/", "board"},          {"/chart/a/b.png?x", "chart"}, {"/render/x.png", "render"},
      {"/metrics", "metrics"}, {"/chartx", "other"},          {"/%00", "other"}};
  for (const auto& [path, label] : labels) EXPECT_EQ(RouteLabel(path), label) << path;
}

TEST(ChartCache, KeysDifferInEveryFieldAndETagsFollowKeys) {
  const std::map<std::string, std::string> options = {{"size", "400x300"}};
  const FileStamp stamp{1000, 1700000000123456789, 42};
  // Every field changes the key (and so the ETag); no value can pose as a following field.
  const std::string keys[] = {
      ChartKey("intraday", "2330", "png", stamp, options),
      ChartKey("ratio", "2330", "png", stamp, options),
      ChartKey("intraday", "2317", "png", stamp, options),
      ChartKey("intraday", "2330", "svg", stamp, options),
      ChartKey("intraday", "2330", "png", {1001, stamp.mtimeNs, 42}, options),
      ChartKey("intraday", "2330", "png", {1000, stamp.mtimeNs + 1, 42}, options),
      ChartKey("intraday", "2330", "png", {1000, stamp.mtimeNs, 43}, options),
      ChartKey("intraday", "2330", "png", stamp, {{"size", "400x301"}}),
      ChartKey("intraday", "2330", "png", stamp, {{"size", "400x300"}, {"theme", "light"}}),
      ChartKey("intraday", "2330", "png", stamp, {{"size", "400x300\ntheme=5:light"}}),
  };
  for (const std::string& a : keys) {
    for (const std::string& b : keys) {
      if (&a != &b) {
        EXPECT_NE(StrongETag(a), StrongETag(b));
      }
    }
  }
  EXPECT_EQ(StrongETag(""), "\"cbf29ce484222325\"");  // FNV-1a offset basis
}

TEST(ChartCache, IfNoneMatchLists) {
  const std::pair<const char*, bool> cases[] = {
      {"\"abc\"", true}, {"W/\"abc\"", true}, {"\"x\", \"abc\"", true}, {" \"x\" ,\t\"abc\" ", true},
      {"*", true},       {"\"abcd\"", false}, {"abc", false},           {"", false},
      {",,", false}};
  for (const auto& [header, matches] : cases) EXPECT_EQ(ETagMatches(header, "\"abc\""), matches) << header;
}

TEST(ChartCache, EvictsLeastRecentlyUsedWithinItsBytes) {
  auto chart = [](std::size_t bytes) {
    auto c = std::make_shared<CachedChart>();
    c->bytes.resize(bytes);
    return c;
  };
  const std::size_t one = ChartCache::Cost("a", *chart(1000));
  ChartCache cache(3 * one);
  cache.Insert("a", chart(1000));
  cache.Insert("b", chart(1000));
  cache.Insert("c", chart(1000));
  EXPECT_EQ(cache.Bytes(), 3 * one);
  ASSERT_TRUE(cache.Find("a"));  // a is now the most recent; b the least
  cache.Insert("d", chart(1000));
  EXPECT_FALSE(cache.Find("b"));
  EXPECT_TRUE(cache.Find("a") && cache.Find("c") && cache.Find("d"));
  cache.Insert("a", chart(10));  // replaced, not counted twice
  EXPECT_EQ(cache.Bytes(), 2 * one + ChartCache::Cost("a", *chart(10)));
  cache.Insert("huge", chart(4 * one));  // larger than the cache: not kept, nothing dropped
  EXPECT_FALSE(cache.Find("huge"));
  EXPECT_EQ(cache.Count(), 3u);
}

TEST(JsonText, EscapesAndReplacesWhatIsNotUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
  EXPECT_EQ(JsonString("\xE5\x8F\xB0\xA5x\xC0\xAF"),
            "\"\xE5\x8F\xB0\\ufffdx\\ufffd\\ufffd\"");  // Big5 byte, overlong '/'
  EXPECT_EQ(JsonError("bad", 3, 16), "{\"error\": \"bad\", \"line\": 3, \"column\": 16}\n");
  EXPECT_EQ(JsonError("gone"), "{\"error\": \"gone\"}\n");
}

}  // namespace
}  // namespace kelo::serve
