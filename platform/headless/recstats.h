// RECSTATS: the recorder's figures in bounded memory. --bench prints one row per scene visit as
// the visit ends (frames, median, p99 and maximum work in milliseconds) and the start-up at the
// end; --rss prints the resident memory at the start of every cycle and at the end. A visit keeps
// at most kRecStatsKept work times (a scene's frame limit is far below it); later frames count
// towards the frame number and the maximum only.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

constexpr std::size_t kRecStatsKept = 65536;

struct RecStats {
  bool bench = false;
  bool rss = false;
  FILE* out = stdout;
  bool header_done = false;
  bool visiting = false;
  std::string visit;              // name of the scene being visited
  std::vector<double> work_ms;    // its kept work times
  long frames = 0;                // its frames
  double max_ms = 0;
  double startup_ms = -1;
  std::vector<long> rss_kb;       // one per cycle: a few bytes an hour
};

// Value at fraction p (0 .. 1) of the sorted times, nearest rank; 0 for none. Sorts `v`.
double recstats_percentile(std::vector<double>& v, double p);
void recstats_scene_begin(RecStats* stats, const char* name);
void recstats_frame(RecStats* stats, double work_ms);
void recstats_cycle_begin(RecStats* stats);
// Prints the last visit, the start-up and the memory rows.
void recstats_finish(RecStats* stats);
// Resident set size of this process in kB, from /proc/self/status (0 when unreadable).
long recstats_resident_kb();
