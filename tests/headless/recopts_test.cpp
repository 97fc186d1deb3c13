// The recorder's command line: values, defaults that depend on other options, and refusals.
#include "platform/headless/recopts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RecParse parse(std::vector<std::string> words, RecOptions* options, std::string* error) {
  words.insert(words.begin(), "krom7316-record");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  return recopts_parse(int(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(RecOptsTest, ValuesAndDefaults) {
  RecOptions o;
  std::string error;
  ASSERT_EQ(parse({"--seed", "7", "--video", "a.mkv", "--scale", "8", "--lossless", "--fade-ms", "0", "--quiet"},
                  &o, &error),
            RecParse::run)
      << error;
  EXPECT_EQ(o.seed, 7);
  EXPECT_EQ(o.video_path, "a.mkv");
  EXPECT_EQ(o.scale, 8);
  EXPECT_TRUE(o.lossless);
  EXPECT_EQ(o.fade_ms, 0);
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.preset, "superfast");
  EXPECT_EQ(o.frames, 300);
  // A video's device block holds a whole frame at 25 per second; a given block stays.
  EXPECT_EQ(o.block, 2048);
  RecOptions given;
  ASSERT_EQ(parse({"--video", "a.mkv", "--block", "882"}, &given, &error), RecParse::run);
  EXPECT_EQ(given.block, 882);
  RecOptions plain;
  ASSERT_EQ(parse({}, &plain, &error), RecParse::run);
  EXPECT_EQ(plain.block, 882);
  EXPECT_EQ(plain.fade_ms, 50);
  // Cycles without a frame limit: the cycles alone end the run.
  RecOptions cycles;
  ASSERT_EQ(parse({"--cycles", "2"}, &cycles, &error), RecParse::run);
  EXPECT_EQ(cycles.frames, 2147483647L);
  RecOptions both;
  ASSERT_EQ(parse({"--cycles", "2", "--frames", "10"}, &both, &error), RecParse::run);
  EXPECT_EQ(both.frames, 10);
}

TEST(RecOptsTest, Refusals) {
  const struct {
    std::vector<std::string> words;
    const char* message;
  } cases[] = {
      {{"--scale", "0"}, "bad value for --scale: \"0\""},
      {{"--scale", "9"}, "bad value for --scale: \"9\""},
      {{"--fade-ms", "-1"}, "bad value for --fade-ms: \"-1\""},
      {{"--frames", "0"}, "bad value for --frames: \"0\""},
      {{"--video"}, "missing value for --video"},
      {{"--frames", "--png", "x"}, "missing value for --frames"},
      {{"--sound-fault", "loud"}, "bad value for --sound-fault: \"loud\""},
      {{"--preset", "fastest"},
       "bad value for --preset: \"fastest\" (ultrafast, superfast, veryfast, faster, fast, medium, slow, slower or "
       "veryslow)"},
      {{"--colour", "red"}, "unknown option \"--colour\""},
  };
  for (const auto& c : cases) {
    RecOptions o;
    std::string error;
    EXPECT_EQ(parse(c.words, &o, &error), RecParse::usage_error) << c.message;
    EXPECT_EQ(error, c.message);
  }
  RecOptions o;
  std::string error;
  EXPECT_EQ(parse({"--frames", "5", "--help"}, &o, &error), RecParse::help);
}
