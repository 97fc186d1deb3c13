// The recorder's statistics: rows printed as visits end, nearest-rank percentiles, and a visit
// that keeps no more than its bound of work times while counting every frame.
#include "platform/headless/recstats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string printed(FILE* f) {
  std::rewind(f);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, f)) text += buffer;
  return text;
}

}  // namespace

TEST(RecStatsTest, PercentilesByNearestRank) {
  std::vector<double> none;
  EXPECT_EQ(recstats_percentile(none, 0.5), 0);
  std::vector<double> v{5, 1, 4, 2, 3};
  EXPECT_EQ(recstats_percentile(v, 0.5), 3);
  EXPECT_EQ(recstats_percentile(v, 0.99), 5);
  EXPECT_EQ(recstats_percentile(v, 0.0), 1);
}

TEST(RecStatsTest, RowsAsVisitsEnd) {
  FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  RecStats s;
  s.bench = true;
  s.out = f;
  s.startup_ms = 12.5;
  recstats_scene_begin(&s, "intro");
  for (double ms : {1.0, 2.0, 3.0}) recstats_frame(&s, ms);
  recstats_scene_begin(&s, "vector");
  EXPECT_EQ(printed(f), "scene\tframes\tmedian_ms\tp99_ms\tmax_ms\nintro\t3\t2.000\t3.000\t3.000\n");
  std::fseek(f, 0, SEEK_END);
  recstats_frame(&s, 4.0);
  recstats_finish(&s);
  EXPECT_EQ(printed(f),
            "scene\tframes\tmedian_ms\tp99_ms\tmax_ms\nintro\t3\t2.000\t3.000\t3.000\n"
            "vector\t1\t4.000\t4.000\t4.000\nstartup\t1\t12.500\t12.500\t12.500\n");
  std::fclose(f);
}

TEST(RecStatsTest, AVisitKeepsABoundedNumberOfTimes) {
  RecStats s;
  s.bench = true;
  s.out = std::tmpfile();
  ASSERT_NE(s.out, nullptr);
  recstats_scene_begin(&s, "long");
  const long frames = long(kRecStatsKept) + 1000;
  for (long i = 0; i < frames; ++i) recstats_frame(&s, i == frames - 1 ? 99.0 : 1.0);
  EXPECT_EQ(s.work_ms.size(), kRecStatsKept);
  EXPECT_EQ(s.frames, frames);
  EXPECT_EQ(s.max_ms, 99.0);
  std::fclose(s.out);
}
