// RECOPTS: the recorder's command line. One table lists every option with its value kind, so a
// new option is one line there and one field here. Parsing prints nothing and never exits: it
// hands back what to do (run, show the usage, or refuse with a one-line reason).
#pragma once
#include <string>

struct RecOptions {
  long seed = -1;               // -1: seed with the current time
  long frames = 300;            // presents before the run stops
  bool frames_given = false;
  long every = 1;               // write every K-th present as PNG
  long block = 882;             // sound device block in samples (0: no device)
  bool block_given = false;
  std::string png_dir;
  std::string wav_path;
  std::string video_path;
  std::string raw_path;         // every present's pixels, one after the other
  std::string keys;             // the key script as given
  long scale = 1;               // video pixels per show pixel, 1 .. 8
  long fade_ms = 50;            // length of a fade-to-black in the video
  bool lossless = false;        // FFV1 in place of H.264 (.mkv)
  std::string preset = "superfast";   // H.264 speed preset
  bool quiet = false;           // no progress line
  bool bench = false;
  bool rss = false;
  long cycles = 0;              // stop when cycle cycles + 1 would begin (0: no such limit)
  std::string sound_fault;      // "", "missing", "busy" or "refuse"
};

enum class RecParse { run, help, list_scenes, usage_error };

// Fills `options` from the arguments; on a usage error `error` holds the reason.
RecParse recopts_parse(int argc, char** argv, RecOptions* options, std::string* error);
// The usage text (ends with a line feed).
const char* recopts_usage();
