// The recorder's platform layer: the same show without a window or a clock. Presents go to an
// in-memory frame sink (and PNG files), keys come from a script, the pacer never sleeps, and the
// sound device is a sink of one chosen block size whose samples go to a WAV file.
#include <png.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "image/img.h"
#include "platform/fps.h"
#include "platform/platform.h"
#include "platform/xdpy.h"
#include "platform/xkbd.h"
#include "scenes/scenes.h"

namespace {


struct ScriptKey {
  long index;   // present index whose frame's key poll returns the key
  char key;
};

struct Visit {
  std::string name;
  std::vector<double> work_ms;
};

struct Recorder {
  long seed = -1;
  long frames = 300;
  long every = 1;
  long block = 882;
  std::string png_dir;
  std::string wav_path;
  FILE* raw = nullptr;          // every presented frame's pixels, in order (--raw)
  bool bench = false;
  bool rss = false;
  long cycles = 0;              // stop when cycle cycles + 1 would start (0: no such limit)
  long cycles_begun = 0;
  std::string sound_fault;      // "", "missing", "busy" or "refuse"
  std::vector<long> rss_kb;     // resident memory at every start of a cycle, then at the end
  std::vector<ScriptKey> keys;
  std::size_t next_key = 0;
  long presents = 0;
  long presents_at_last_poll = -1;
  SNDFILE* wav = nullptr;
  std::vector<Visit> visits;
  double start_us = 0;
  double startup_ms = -1;
};

Recorder rec;
XDpy the_display = {256, 256, 24};
char key_text[9];
XKbd the_keyboard = {key_text, 0};

const char* const kUsage =
    "usage: krom7316-record [--seed N] [--frames N] [--png DIR [--every K]] [--keys LIST]\n"
    "                       [--wav FILE] [--block N] [--bench] [--cycles N] [--rss]\n"
    "                       [--sound-fault KIND] [--raw FILE] [--list-scenes] [--help]\n"
    "  --seed N     seed the show with N instead of the current time\n"
    "  --frames N   stop after N presented frames (default 300)\n"
    "  --png DIR    write presented frames as DIR/frame-NNNNNN.png (every K-th with --every K)\n"
    "  --keys LIST  scripted keys, e.g. 400:space,900:m,1200:esc (index = present index)\n"
    "               names: esc space 5 6 8 b f g i m p u w, or any single printable character\n"
    "  --wav FILE   write the sound stream as a 44100 Hz 16-bit mono WAV\n"
    "  --raw FILE   write every presented frame's pixels to FILE, one after the other\n"
    "               (width x height 32-bit pixel words in this machine's byte order)\n"
    "  --block N    sound device block in samples (default 882; 0 = no sound device)\n"
    "  --bench      print per-scene frame work times (tab-separated) after the run\n"
    "  --cycles N   stop when the scene sequence would start for the (N+1)-th time\n"
    "               (without --frames, the cycles alone end the run)\n"
    "  --rss        print the resident memory at the start of every cycle and at the end\n"
    "  --sound-fault missing|busy|refuse\n"
    "               make the sound device fail: absent, opened by another process, or\n"
    "               refusing every request after the open\n"
    "  --list-scenes  print the intro and the scenes in play order, each with its frame limit\n"
    "               (NAME FRAMES, one a line), and exit\n";

[[noreturn]] void usage_error(const std::string& message) {
  std::fprintf(stderr, "krom7316-record: %s\n%s", message.c_str(), kUsage);
  std::exit(2);
}

long parse_number(const char* option, const char* text, long minimum) {
  if (!text) usage_error(std::string("missing value for ") + option);
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != 0 || v < minimum || v > 2147483647LL) {
    usage_error(std::string("bad value for ") + option + ": \"" + text + "\"");
  }
  return long(v);
}

char key_from_name(const std::string& name) {
  if (name == "esc") return 27;
  if (name == "space") return ' ';
  if (name.size() == 1 && name[0] > 32 && name[0] < 127) return name[0];
  return 0;
}

void parse_keys(const char* text) {
  if (!text) usage_error("missing value for --keys");
  std::string list(text);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(start, comma - start);
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos || colon == 0) usage_error("bad key \"" + item + "\" (want INDEX:NAME)");
    const std::string index = item.substr(0, colon);
    const long at = parse_number("--keys", index.c_str(), 0);
    const char key = key_from_name(item.substr(colon + 1));
    if (!key) usage_error("unknown key name \"" + item.substr(colon + 1) + "\"");
    rec.keys.push_back({at, key});
    start = comma + 1;
  }
  std::stable_sort(rec.keys.begin(), rec.keys.end(),
                   [](const ScriptKey& a, const ScriptKey& b) { return a.index < b.index; });
}

void write_png(const Image* image, long index) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%06ld.png", index);
  const std::string path = rec.png_dir + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "krom7316-record: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  // The row exists before the jump point: a jump back out of libpng leaves no object behind.
  std::vector<unsigned char> row(std::size_t(image->width) * 3);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    std::fprintf(stderr, "krom7316-record: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  if (setjmp(png_jmpbuf(png))) {
    std::fprintf(stderr, "krom7316-record: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(image->width), png_uint_32(image->height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < image->height; ++y) {
    const uint32_t* src = img_row(image, y);
    for (int32_t x = 0; x < image->width; ++x) {
      row[std::size_t(x) * 3 + 0] = (src[x] >> 16) & 255;
      row[std::size_t(x) * 3 + 1] = (src[x] >> 8) & 255;
      row[std::size_t(x) * 3 + 2] = src[x] & 255;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

// Resident set size of this process in kB, from /proc/self/status (0 when unreadable).
long resident_kb() {
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

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  std::size_t i = std::size_t(p * double(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

// Runs at every exit: the frame limit, a scripted ESC, or anything else that ends the show.
void finish() {
  if (rec.raw && std::fclose(rec.raw) != 0) {
    std::fprintf(stderr, "krom7316-record: cannot write the raw frames\n");
    std::_Exit(1);
  }
  rec.raw = nullptr;
  if (rec.wav) {
    sf_close(rec.wav);
    rec.wav = nullptr;
  }
  if (rec.bench) {
    std::printf("scene\tframes\tmedian_ms\tp99_ms\tmax_ms\n");
    for (const Visit& v : rec.visits) {
      const double mx = v.work_ms.empty() ? 0 : *std::max_element(v.work_ms.begin(), v.work_ms.end());
      std::printf("%s\t%zu\t%.3f\t%.3f\t%.3f\n", v.name.c_str(), v.work_ms.size(), percentile(v.work_ms, 0.5),
                  percentile(v.work_ms, 0.99), mx);
    }
    std::printf("startup\t1\t%.3f\t%.3f\t%.3f\n", rec.startup_ms, rec.startup_ms, rec.startup_ms);
  }
  if (rec.rss) {
    rec.rss_kb.push_back(resident_kb());
    std::printf("cycle\trss_kb\n");
    for (std::size_t i = 0; i < rec.rss_kb.size(); ++i) {
      if (i + 1 < rec.rss_kb.size()) {
        std::printf("%zu\t%ld\n", i + 1, rec.rss_kb[i]);
      } else {
        std::printf("end\t%ld\n", rec.rss_kb[i]);
      }
    }
  }
  std::fflush(stdout);
}

}  // namespace

void platform_init(int argc, char** argv) {
  rec.start_us = now_us();
  bool frames_given = false;
  std::string raw_path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    // A following option is no value: "--frames --png x" lacks the number.
    const char* value = i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0 ? argv[i + 1] : nullptr;
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (a == "--list-scenes") {
      std::printf("%s %d\n", scene_intro.name, int(scene_intro.frames));
      for (const Scene& scene : scene_sequence) std::printf("%s %d\n", scene.name, int(scene.frames));
      std::exit(std::fflush(stdout) == 0 ? 0 : 1);
    } else if (a == "--seed") {
      rec.seed = parse_number("--seed", value, 0), ++i;
    } else if (a == "--frames") {
      rec.frames = parse_number("--frames", value, 1), ++i;
      frames_given = true;
    } else if (a == "--every") {
      rec.every = parse_number("--every", value, 1), ++i;
    } else if (a == "--block") {
      rec.block = parse_number("--block", value, 0), ++i;
    } else if (a == "--png") {
      if (!value) usage_error("missing value for --png");
      rec.png_dir = value, ++i;
    } else if (a == "--wav") {
      if (!value) usage_error("missing value for --wav");
      rec.wav_path = value, ++i;
    } else if (a == "--raw") {
      if (!value) usage_error("missing value for --raw");
      raw_path = value, ++i;
    } else if (a == "--keys") {
      parse_keys(value), ++i;
    } else if (a == "--bench") {
      rec.bench = true;
    } else if (a == "--cycles") {
      rec.cycles = parse_number("--cycles", value, 1), ++i;
    } else if (a == "--rss") {
      rec.rss = true;
    } else if (a == "--sound-fault") {
      if (!value) usage_error("missing value for --sound-fault");
      rec.sound_fault = value, ++i;
      if (rec.sound_fault != "missing" && rec.sound_fault != "busy" && rec.sound_fault != "refuse") {
        usage_error("bad value for --sound-fault: \"" + rec.sound_fault + "\"");
      }
    } else {
      usage_error("unknown option \"" + a + "\"");
    }
  }
  // With a number of cycles and no frame limit, the cycles alone end the run.
  if (rec.cycles > 0 && !frames_given) rec.frames = 2147483647L;
  if (!rec.png_dir.empty()) {
    const std::string probe = rec.png_dir + "/.krom7316-record-probe";
    FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f) usage_error("cannot write into directory \"" + rec.png_dir + "\"");
    std::fclose(f);
    std::remove(probe.c_str());
  }
  if (!rec.wav_path.empty()) {
    SF_INFO info = {};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    rec.wav = sf_open(rec.wav_path.c_str(), SFM_WRITE, &info);
    if (!rec.wav) usage_error("cannot write \"" + rec.wav_path + "\"");
  }
  if (!raw_path.empty()) {
    rec.raw = std::fopen(raw_path.c_str(), "wb");
    if (!rec.raw) usage_error("cannot write \"" + raw_path + "\"");
  }
  std::atexit(finish);
}

long platform_seed_time() { return rec.seed >= 0 ? rec.seed : long(std::time(nullptr)); }

double platform_clock_us() { return now_us(); }
void platform_sleep_until_us(double) {}

void platform_frame_done(const Fps* fps) {
  if (!fps || rec.visits.empty()) return;
  rec.visits.back().work_ms.push_back(fps->work_us / 1000.0);
}

void platform_scene_begin(const char* name) {
  if (rec.startup_ms < 0) rec.startup_ms = (now_us() - rec.start_us) / 1000.0;
  // A cycle starts with the first scene of the sequence.
  if (name && std::strcmp(name, scene_sequence[0].name) == 0) {
    if (rec.cycles > 0 && rec.cycles_begun == rec.cycles) std::exit(0);
    ++rec.cycles_begun;
    if (rec.rss) rec.rss_kb.push_back(resident_kb());
  }
  rec.visits.push_back({name ? name : "?", {}});
}

// The window: a frame sink.
XDpy* xdpy_new() { return &the_display; }

void xdpy_resize(XDpy* dpy, int32_t width, int32_t height) {
  if (!dpy || width < 0 || height < 0) return;
  dpy->width = width;
  dpy->height = height;
}

void xdpy_present(XDpy* dpy, const Image* image) {
  if (!dpy || !img_valid(image)) return;
  const long index = rec.presents++;
  if (!rec.png_dir.empty() && index % rec.every == 0) write_png(image, index);
  if (rec.raw) {
    for (int32_t y = 0; y < image->height; ++y) {
      if (std::fwrite(img_row(image, y), 4, std::size_t(image->width), rec.raw) != std::size_t(image->width)) {
        std::fprintf(stderr, "krom7316-record: cannot write the raw frames\n");
        std::exit(1);
      }
    }
  }
  if (rec.presents >= rec.frames) std::exit(0);
}

void xdpy_wait_input(int32_t) {}

// The keyboard: the script. A key is returned by the poll of the frame whose present index it
// names (or the first poll after it). While paused no frame is presented, so the recorder's
// time stands still: each poll of a pause delivers the next scripted key at once, whatever its
// index, and when the script has none left the pause ends as if P had been pressed.
XKbd* xkbd_new() { return &the_keyboard; }

void xkbd_poll(XKbd* kbd) {
  if (!kbd) std::exit(0);
  const long current = rec.presents - 1;
  const bool pausing = rec.presents == rec.presents_at_last_poll;
  rec.presents_at_last_poll = rec.presents;
  if (rec.next_key < rec.keys.size() && (rec.keys[rec.next_key].index <= current || pausing)) {
    kbd->text[0] = rec.keys[rec.next_key++].key;
  } else if (pausing) {
    kbd->text[0] = 'p';
  } else {
    return;
  }
  kbd->text[1] = 0;
  kbd->keycode = 1;
}

// The sound output: a backend that takes every block of the chosen size and writes its samples
// to the WAV file. The faults make it missing (no backend), busy (another process holds it: no
// backend either) or refusing (it opens, then takes nothing).
namespace {

struct FileDev {
  SndDev base;
};

long file_write(SndDev*, const int16_t* samples, int32_t count) {
  if (rec.sound_fault == "refuse") return -1;
  if (rec.wav && count > 0) sf_write_short(rec.wav, samples, sf_count_t(count));
  return count;
}

void file_close(SndDev* dev) { std::free(reinterpret_cast<FileDev*>(dev)); }

constexpr SndDevOps kFileOps = {"file", file_write, file_close};

}  // namespace

SndDev* snddev_open(const char*, SndDevAnswer* answer) {
  if (!answer || rec.block <= 0 || rec.sound_fault == "missing" || rec.sound_fault == "busy") return nullptr;
  FileDev* dev = static_cast<FileDev*>(std::calloc(1, sizeof(FileDev)));
  if (!dev) return nullptr;
  dev->base.ops = &kFileOps;
  answer->block_bytes = int32_t(rec.block * 2);
  return &dev->base;
}
