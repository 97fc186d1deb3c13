// The progress line.
#include "platform/headless/progress.h"

#include <unistd.h>

namespace {

void clock_text(char* out, std::size_t size, double s) {
  const long t = long(s);
  if (t >= 3600) {
    std::snprintf(out, size, "%ld:%02ld:%02ld", t / 3600, t / 60 % 60, t % 60);
  } else {
    std::snprintf(out, size, "%ld:%02ld", t / 60, t % 60);
  }
}

}  // namespace

void progress_start(Progress* p, bool wanted, double now_us) {
  p->on = wanted && isatty(STDERR_FILENO);
  p->start_us = now_us;
}

void progress_format(char* out, std::size_t size, long done, long total, double show_s, double wall_s) {
  char show[32], left[32];
  clock_text(show, sizeof show, show_s);
  const double speed = wall_s > 0 ? show_s / wall_s : 0;
  if (total > 0 && done > 0) {
    clock_text(left, sizeof left, wall_s * double(total - done) / double(done));
    std::snprintf(out, size, "frame %ld of %ld  show %s  %.1fx real time  %s left", done, total, show, speed, left);
  } else {
    std::snprintf(out, size, "frame %ld  show %s  %.1fx real time", done, show, speed);
  }
}

void progress_update(Progress* p, long done, long total, double show_s, double now_us, bool force) {
  if (!p->on || (!force && now_us - p->last_us < 200000)) return;
  p->last_us = now_us;
  char line[160];
  progress_format(line, sizeof line, done, total, show_s, (now_us - p->start_us) / 1e6);
  std::fprintf(stderr, "\r%s\033[K", line);
  std::fflush(stderr);
  p->drawn = true;
}

void progress_end(Progress* p) {
  if (p->drawn) std::fputc('\n', stderr);
  p->drawn = false;
}
