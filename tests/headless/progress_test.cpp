// The progress line's text: with a known total it gives the time left, without one it leaves
// the total and the time left out.
#include "platform/headless/progress.h"

#include <gtest/gtest.h>

#include <string>

TEST(ProgressTest, LineText) {
  const struct {
    long done, total;
    double show_s, wall_s;
    const char* line;
  } cases[] = {
      {100, 400, 30.0, 10.0, "frame 100 of 400  show 0:30  3.0x real time  0:30 left"},
      {5000, 5000, 3725.5, 745.1, "frame 5000 of 5000  show 1:02:05  5.0x real time  0:00 left"},
      {7, 0, 1.0, 0.5, "frame 7  show 0:01  2.0x real time"},
      {0, 300, 0.0, 0.0, "frame 0  show 0:00  0.0x real time"},
  };
  for (const auto& c : cases) {
    char line[160];
    progress_format(line, sizeof line, c.done, c.total, c.show_s, c.wall_s);
    EXPECT_EQ(std::string(line), c.line);
  }
}
