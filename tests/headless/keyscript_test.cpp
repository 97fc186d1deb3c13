// The recorder's key script: parsing, delivery by present index, and the pause's answers.
#include "platform/headless/keyscript.h"

#include <gtest/gtest.h>

#include <string>

TEST(KeyScriptTest, ParsesAndRefuses) {
  KeyScript script;
  std::string error;
  ASSERT_TRUE(keyscript_parse(&script, "900:m,400:space,400:esc,10:5", &error)) << error;
  ASSERT_EQ(script.keys.size(), 4u);
  // Sorted by index; keys of one index keep their order.
  EXPECT_EQ(script.keys[0].index, 10);
  EXPECT_EQ(script.keys[1].key, ' ');
  EXPECT_EQ(script.keys[2].key, 27);
  EXPECT_EQ(script.keys[3].key, 'm');
  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"space", "bad key \"space\" (want INDEX:NAME)"},
      {":m", "bad key \":m\" (want INDEX:NAME)"},
      {"10:nokey", "unknown key name \"nokey\""},
      {"x:m", "bad value for --keys: \"x\""},
      {"-1:m", "bad value for --keys: \"-1\""},
  };
  for (const auto& c : bad) {
    KeyScript s;
    EXPECT_FALSE(keyscript_parse(&s, c.text, &error)) << c.text;
    EXPECT_EQ(error, c.message);
  }
}

// A key comes with the poll of its present (or the first one after); a poll without a present
// since the last one is a pause, which takes the next key at once or else ends with P.
TEST(KeyScriptTest, DeliveryAndPause) {
  KeyScript script;
  std::string error;
  ASSERT_TRUE(keyscript_parse(&script, "3:m,3:b,10:w", &error));
  EXPECT_EQ(keyscript_poll(&script, 3), 0);     // present 2's poll
  EXPECT_EQ(keyscript_poll(&script, 4), 'm');   // present 3's poll
  EXPECT_EQ(keyscript_poll(&script, 5), 'b');   // one key per poll
  EXPECT_EQ(keyscript_poll(&script, 6), 0);
  EXPECT_EQ(keyscript_poll(&script, 6), 'w');   // paused: the next key whatever its index
  EXPECT_EQ(keyscript_poll(&script, 6), 'p');   // paused, none left
  EXPECT_EQ(keyscript_poll(&script, 7), 0);
}
