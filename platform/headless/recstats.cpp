// The recorder's statistics: each visit's row is printed when the next begins.
#include "platform/headless/recstats.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

void end_visit(RecStats* s) {
  if (!s->visiting) return;
  s->visiting = false;
  if (!s->bench) return;
  if (!s->header_done) {
    std::fprintf(s->out, "scene\tframes\tmedian_ms\tp99_ms\tmax_ms\n");
    s->header_done = true;
  }
  const double median = recstats_percentile(s->work_ms, 0.5);
  const double p99 = recstats_percentile(s->work_ms, 0.99);
  std::fprintf(s->out, "%s\t%ld\t%.3f\t%.3f\t%.3f\n", s->visit.c_str(), s->frames, median, p99, s->max_ms);
  std::fflush(s->out);
}

}  // namespace

double recstats_percentile(std::vector<double>& v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t i = std::size_t(p * double(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

void recstats_scene_begin(RecStats* s, const char* name) {
  end_visit(s);
  s->visiting = true;
  s->visit = name ? name : "?";
  s->work_ms.clear();
  s->frames = 0;
  s->max_ms = 0;
}

void recstats_frame(RecStats* s, double work_ms) {
  if (!s->visiting) return;
  ++s->frames;
  s->max_ms = std::max(s->max_ms, work_ms);
  if (s->bench && s->work_ms.size() < kRecStatsKept) s->work_ms.push_back(work_ms);
}

void recstats_cycle_begin(RecStats* s) {
  if (s->rss) s->rss_kb.push_back(recstats_resident_kb());
}

void recstats_finish(RecStats* s) {
  end_visit(s);
  if (s->bench) {
    if (!s->header_done) std::fprintf(s->out, "scene\tframes\tmedian_ms\tp99_ms\tmax_ms\n");
    s->header_done = true;
    std::fprintf(s->out, "startup\t1\t%.3f\t%.3f\t%.3f\n", s->startup_ms, s->startup_ms, s->startup_ms);
  }
  if (s->rss) {
    std::fprintf(s->out, "cycle\trss_kb\n");
    for (std::size_t i = 0; i < s->rss_kb.size(); ++i) std::fprintf(s->out, "%zu\t%ld\n", i + 1, s->rss_kb[i]);
    std::fprintf(s->out, "end\t%ld\n", recstats_resident_kb());
  }
  std::fflush(s->out);
}

long recstats_resident_kb() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) {
      kb = std::strtol(line + 6, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return kb;
}
