// The recorder's options: one table of names, value kinds and targets.
#include "platform/headless/recopts.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: krom7316-record [--seed N] [--frames N] [--png DIR [--every K]] [--keys LIST]\n"
    "                       [--wav FILE] [--video FILE [--scale N] [--lossless] [--preset NAME]]\n"
    "                       [--fade-ms N] [--block N] [--bench] [--cycles N] [--rss] [--quiet]\n"
    "                       [--sound-fault KIND] [--raw FILE] [--list-scenes] [--help]\n"
    "  --seed N     seed the show with N instead of the current time\n"
    "  --frames N   stop after N presented frames (default 300)\n"
    "  --png DIR    write presented frames as DIR/frame-NNNNNN.png (every K-th with --every K);\n"
    "               DIR is created when missing\n"
    "  --keys LIST  scripted keys, e.g. 400:space,900:m,1200:esc (index = present index)\n"
    "               names: esc space 5 6 8 b f g i m p u w, or any single printable character\n"
    "  --wav FILE   write the sound stream as a 44100 Hz 16-bit mono WAV\n"
    "  --raw FILE   write every presented frame's pixels to FILE, one after the other\n"
    "               (width x height 32-bit pixel words in this machine's byte order)\n"
    "  --video FILE write a video at 50 frames per second with its sound on the show's clock;\n"
    "               .mp4 (H.264 + AAC), .mkv (H.264 + FLAC, or FFV1 + FLAC with --lossless),\n"
    "               .webm (VP8 + Vorbis)\n"
    "  --scale N    with --video, enlarge every pixel to N x N (1 to 8, default 1)\n"
    "  --lossless   with --video FILE.mkv, lossless FFV1 picture\n"
    "  --preset NAME  H.264's speed preset, ultrafast to veryslow (default superfast)\n"
    "  --fade-ms N  length of a fade-to-black in the video, milliseconds (default 50)\n"
    "  --block N    sound device block in samples (default 882, with --video 2048;\n"
    "               0 = no sound device)\n"
    "  --bench      print per-scene frame work times (tab-separated) after each scene\n"
    "  --cycles N   stop when the scene sequence would start for the (N+1)-th time\n"
    "               (without --frames, the cycles alone end the run)\n"
    "  --rss        print the resident memory at the start of every cycle and at the end\n"
    "  --quiet      no progress line on a terminal\n"
    "  --sound-fault missing|busy|refuse\n"
    "               make the sound device fail: absent, opened by another process, or\n"
    "               refusing every request after the open\n"
    "  --list-scenes  print the intro and the scenes in play order, each with its frame limit\n"
    "               (NAME FRAMES, one a line), and exit\n";

enum class Kind { flag, number, text };

struct OptionRow {
  const char* name;
  Kind kind;
  long minimum, maximum;        // numbers only
  bool RecOptions::*flag;       // set for flags, and for numbers that record being given
  long RecOptions::*number;
  std::string RecOptions::*text;
};

constexpr long kMax = 2147483647L;

const OptionRow kRows[] = {
    {"--seed", Kind::number, 0, kMax, nullptr, &RecOptions::seed, nullptr},
    {"--frames", Kind::number, 1, kMax, &RecOptions::frames_given, &RecOptions::frames, nullptr},
    {"--every", Kind::number, 1, kMax, nullptr, &RecOptions::every, nullptr},
    {"--block", Kind::number, 0, kMax, &RecOptions::block_given, &RecOptions::block, nullptr},
    {"--png", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::png_dir},
    {"--wav", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::wav_path},
    {"--video", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::video_path},
    {"--raw", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::raw_path},
    {"--scale", Kind::number, 1, 8, nullptr, &RecOptions::scale, nullptr},
    {"--fade-ms", Kind::number, 0, 3600000, nullptr, &RecOptions::fade_ms, nullptr},
    {"--lossless", Kind::flag, 0, 0, &RecOptions::lossless, nullptr, nullptr},
    {"--preset", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::preset},
    {"--quiet", Kind::flag, 0, 0, &RecOptions::quiet, nullptr, nullptr},
    {"--keys", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::keys},
    {"--bench", Kind::flag, 0, 0, &RecOptions::bench, nullptr, nullptr},
    {"--cycles", Kind::number, 1, kMax, nullptr, &RecOptions::cycles, nullptr},
    {"--rss", Kind::flag, 0, 0, &RecOptions::rss, nullptr, nullptr},
    {"--sound-fault", Kind::text, 0, 0, nullptr, nullptr, &RecOptions::sound_fault},
};

bool parse_number(const char* text, long minimum, long maximum, long* out) {
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != 0 || v < minimum || v > maximum) return false;
  *out = long(v);
  return true;
}

}  // namespace

const char* recopts_usage() { return kUsage; }

RecParse recopts_parse(int argc, char** argv, RecOptions* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") return RecParse::help;
    if (a == "--list-scenes") return RecParse::list_scenes;
    const OptionRow* row = nullptr;
    for (const OptionRow& r : kRows) {
      if (a == r.name) row = &r;
    }
    if (!row) {
      *error = "unknown option \"" + a + "\"";
      return RecParse::usage_error;
    }
    if (row->kind == Kind::flag) {
      o->*(row->flag) = true;
      continue;
    }
    // A following option is no value: "--frames --png x" lacks the number.
    const char* value = i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0 ? argv[i + 1] : nullptr;
    if (!value) {
      *error = std::string("missing value for ") + row->name;
      return RecParse::usage_error;
    }
    ++i;
    if (row->kind == Kind::text) {
      o->*(row->text) = value;
      continue;
    }
    if (!parse_number(value, row->minimum, row->maximum, &(o->*(row->number)))) {
      *error = std::string("bad value for ") + row->name + ": \"" + value + "\"";
      return RecParse::usage_error;
    }
    if (row->flag) o->*(row->flag) = true;
  }
  if (!o->sound_fault.empty() && o->sound_fault != "missing" && o->sound_fault != "busy" &&
      o->sound_fault != "refuse") {
    *error = "bad value for --sound-fault: \"" + o->sound_fault + "\"";
    return RecParse::usage_error;
  }
  static const char* const presets[] = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                         "medium",    "slow",      "slower",   "veryslow"};
  bool known = false;
  for (const char* p : presets) known = known || o->preset == p;
  if (!known) {
    *error = "bad value for --preset: \"" + o->preset + "\" (ultrafast, superfast, veryfast, faster, fast, medium, "
             "slow, slower or veryslow)";
    return RecParse::usage_error;
  }
  // With a number of cycles and no frame limit, the cycles alone end the run.
  if (o->cycles > 0 && !o->frames_given) o->frames = kMax;
  // A desktop's device answers 4096-byte blocks, which hold a whole frame at 25 per second too.
  if (!o->video_path.empty() && !o->block_given) o->block = 2048;
  return RecParse::run;
}
