// PROGRESS: one updating line on standard error while the recorder runs: frames done and to do,
// show time, speed as a multiple of real time and the time left. Only on a terminal.
#pragma once
#include <cstdio>

struct Progress {
  bool on = false;          // standard error is a terminal and --quiet was not given
  double start_us = 0;      // wall clock at the start of the run
  double last_us = -1e18;   // last line drawn
  bool drawn = false;
};

void progress_start(Progress* p, bool wanted, double now_us);
// done, total: presents (total <= 0: unknown); show_s: show time in seconds. Draws at most
// five times a second unless `force`.
void progress_update(Progress* p, long done, long total, double show_s, double now_us, bool force);
// Ends the line (a line feed after a drawn line).
void progress_end(Progress* p);
// The line's text for the figures, without the leading carriage return.
void progress_format(char* out, std::size_t size, long done, long total, double show_s, double wall_s);
