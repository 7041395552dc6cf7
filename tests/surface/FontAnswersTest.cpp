// Kept font answers: a file is taken only while everything fontconfig read stands as it was;
// anything else in it (another environment, a changed stamp, a malformed line) costs only
// asking fontconfig again, never a wrong face.
#include "surface/FontAnswers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "GoldenImage.h"

namespace kelo::surface::detail {
namespace {

namespace fs = std::filesystem;

struct Scratch {
  // Per process: ctest runs the tests of this program side by side.
  fs::path dir = fs::path(kelo::test::TestOutDir()) / ("font-answers-store-" + std::to_string(::getpid()));
  Scratch() {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  std::string Put(const std::string& name, const std::string& text) const {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
};

FontAnswers Sample(const Scratch& s) {
  FontAnswers a;
  a.environment = "HOME=/home/trader\n";
  a.stamps = {StampOf(s.Put("fonts.conf", "<fontconfig/>")), StampOf((s.dir / "not-yet.conf").string())};
  // Face names are any bytes a caller chose: spaces, line breaks, bytes above 0x7F.
  a.answers[{"DejaVu Sans Mono", 400, false}] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", 0, false};
  a.answers[{"細明體\n x", 700, true}] = {"/opt/fonts/my fonts/mingliu.ttc", 2, true};
  return a;
}

TEST(FontAnswers, KeptAnswersComeBackWhileEverythingStandsAsItWas) {
  const Scratch s;
  const FontAnswers written = Sample(s);
  const std::string path = (s.dir / "answers").string();
  ASSERT_TRUE(WriteFontAnswers(path, written));
  const FontAnswers read = ReadFontAnswers(path, written.environment);
  EXPECT_EQ(read.answers, written.answers);
  EXPECT_EQ(read.stamps, written.stamps);
  EXPECT_FALSE(fs::exists(path + ".tmp" + std::to_string(::getpid())));
}

TEST(FontAnswers, AnyChangeOrDamageDropsEveryAnswer) {
  const Scratch s;
  const FontAnswers sample = Sample(s);
  const std::string path = (s.dir / "answers").string();
  const std::string conf = (s.dir / "fonts.conf").string();
  // What happens between writing and reading; the environment the reader sees.
  const struct {
    const char* what;
    std::function<void()> change;
    std::string environment;
  } cases[] = {
      {"another environment", [] {}, "HOME=/root\n"},
      {"a configuration edited (size)", [&] { s.Put("fonts.conf", "<fontconfig><dir>/opt</dir></fontconfig>"); },
       sample.environment},
      {"a configuration touched (time)",
       [&] { fs::last_write_time(conf, fs::last_write_time(conf) + std::chrono::seconds(1)); }, sample.environment},
      {"a configuration removed", [&] { fs::remove(conf); }, sample.environment},
      {"a configuration created where there was none", [&] { s.Put("not-yet.conf", ""); }, sample.environment},
      {"another header", [&] { s.Put("answers", "kelochart font answers 2\n"); }, sample.environment},
      {"an unknown line", [&] { std::ofstream(path, std::ios::app) << "guess 1\n"; }, sample.environment},
      {"a word too many", [&] { std::ofstream(path, std::ios::app) << "stamp 1 2 x2f 9\n"; }, sample.environment},
      {"a bad hex digit", [&] { std::ofstream(path, std::ios::app) << "stamp 1 2 x2g\n"; }, sample.environment},
      {"an odd hex length", [&] { std::ofstream(path, std::ios::app) << "stamp 1 2 x2\n"; }, sample.environment},
      {"italic neither 0 nor 1", [&] { std::ofstream(path, std::ios::app) << "answer 400 2 0 0 x41 x2f\n"; },
       sample.environment},
      {"a file larger than answers ever are",
       [&] { std::ofstream(path, std::ios::app) << std::string((1 << 20) + 1, '#'); }, sample.environment},
  };
  for (const auto& c : cases) {
    Scratch fresh;
    const FontAnswers written = Sample(fresh);
    ASSERT_TRUE(WriteFontAnswers(path, written));
    ASSERT_EQ(ReadFontAnswers(path, written.environment).answers.size(), 2u) << c.what;
    c.change();
    EXPECT_TRUE(ReadFontAnswers(path, c.environment).answers.empty()) << c.what;
  }
  // More answers than are ever kept is not a file the engine wrote.
  FontAnswers many = Sample(s);
  for (std::size_t i = 0; i < kMaxFontAnswers; ++i) many.answers[{"face" + std::to_string(i), 400, false}] = {"/f", 0};
  ASSERT_TRUE(WriteFontAnswers(path, many));
  EXPECT_TRUE(ReadFontAnswers(path, many.environment).answers.empty());
}

}  // namespace
}  // namespace kelo::surface::detail
