// The recorder's platform layer: the same show without a window or a clock. Presents go to PNG
// files and a video, keys come from a script, the pacer never sleeps, and the sound device is a
// sink of one chosen block size whose samples go to a WAV file and the video's sound track.
// Nothing here ends the process: a limit, a failed output or a signal sets the stop request that
// the show's loops ask for (platform_should_stop), and platform_finish closes the outputs.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "driver/demo.h"
#include "image/img.h"
#include "platform/fps.h"
#include "platform/headless/keyscript.h"
#include "platform/headless/pngout.h"
#include "platform/headless/progress.h"
#include "platform/headless/recopts.h"
#include "platform/headless/recstats.h"
#include "platform/headless/timeline.h"
#include "platform/headless/videoout.h"
#include "platform/headless/wavout.h"
#include "platform/platform.h"
#include "platform/xdpy.h"
#include "platform/xkbd.h"
#include "scenes/scenes.h"

namespace {

// The present whose span is not known yet: it lasts until the next present, and what happened
// in between (a key poll, sound) says what kind of present it was.
struct Pending {
  bool held = false;
  PresentKind kind = PresentKind::fade;   // loading or fade until a key poll makes it a frame
  int32_t rate = 50;                      // the show's frame rate when it was presented
  std::vector<uint32_t> pixels;           // kept only for a video
  std::vector<int16_t> sound;             // written after it
};

struct Recorder {
  RecOptions options;
  KeyScript keys;
  RecStats stats;
  Timeline timeline;
  Progress progress;
  WavOut* wav = nullptr;
  VideoOut* video = nullptr;
  FILE* raw = nullptr;          // --raw, written as raw_part
  std::string raw_part;
  Pending pending;
  int32_t rate = 50;            // the show's frame rate for the next frames (keys 5 and 6)
  long presents = 0;
  long cycles_begun = 0;
  long presents_per_cycle = 0;  // known once a cycle has ended
  long cycle_start = -1;
  bool stop = false;            // the run is to end
  int status = -1;              // exit status the platform chose (-1: the show's own)
  bool finished = false;
  bool opening = false;         // the outputs were opened (or tried)
  double start_us = 0;
};

Recorder rec;
XDpy the_display = {256, 256, 24};
char key_text[9];
XKbd the_keyboard = {key_text, 0};

volatile sig_atomic_t caught_signal = 0;

// Names of the temporary files, for removal when memory runs out (no allocation there).
char wav_part[4096];
char video_part[4096];
char raw_part_name[4096];

void on_signal(int sig) { caught_signal = sig; }

void on_out_of_memory() {
  static const char message[] = "krom7316-record: out of memory\n";
  (void)!write(STDERR_FILENO, message, sizeof message - 1);
  if (wav_part[0]) unlink(wav_part);
  if (video_part[0]) unlink(video_part);
  if (raw_part_name[0]) unlink(raw_part_name);
  _exit(1);
}

void remember(char* slot, const char* name) {
  slot[0] = 0;
  if (name && std::strlen(name) < 4096) std::strcpy(slot, name);
}

// An output failed: one line, status 1, and the run ends.
void fail(const std::string& message) {
  if (rec.status != 1) {
    progress_end(&rec.progress);
    std::fprintf(stderr, "krom7316-record: %s\n", message.c_str());
  }
  rec.status = 1;
  rec.stop = true;
}

bool stopping() { return rec.stop || caught_signal != 0; }

// Gives the held present its span on the time line and hands it, with its sound, to the video.
void close_pending() {
  Pending& p = rec.pending;
  if (!p.held) return;
  p.held = false;
  const TimeSpan span = timeline_place(&rec.timeline, p.kind, p.rate);
  if (!rec.video) return;
  std::string error;
  const int64_t frames = timeline_video_frames(span);
  if (frames > 0 && !videoout_picture(rec.video, p.pixels.data(), frames, &error)) return fail(error);
  // A frame carries the block its pump wrote, cut or filled with silence to the frame's length.
  p.sound.resize(std::size_t(span.end - span.start), 0);
  if (!videoout_sound(rec.video, p.sound.data(), p.sound.size(), &error)) return fail(error);
  p.sound.clear();
}

void hold(const Image* image, PresentKind kind) {
  Pending& p = rec.pending;
  p.held = true;
  p.kind = kind;
  p.rate = rec.rate;
  p.sound.clear();
  if (!rec.video) return;
  p.pixels.assign(image->pixels, image->pixels + std::size_t(image->width) * std::size_t(image->height));
}

// Presents of a cycle and before the first one when no key cuts a scene short: the loading
// screen and the start-up fade, the intro's fade-in and frames; then each scene's fade-in, its
// frames and, where it has a teardown, its fade-out.
long nominal_cycle_start() { return 1 + 2L * demo_fade_steps + scene_intro.frames; }
long nominal_cycle_presents() {
  long presents = 0;
  for (const Scene& scene : scene_sequence)
    presents += demo_fade_steps + scene.frames + (scene.teardown ? demo_fade_steps : 0);
  return presents;
}

// Presents the run will make: the frame limit, or the cycles, counted from the scene table until
// one cycle has been measured (scripted keys may shorten it).
long total_presents() {
  const RecOptions& o = rec.options;
  long total = o.frames_given || o.cycles == 0 ? o.frames : 0;
  if (o.cycles > 0) {
    const long per_cycle = rec.presents_per_cycle > 0 ? rec.presents_per_cycle : nominal_cycle_presents();
    const long start = rec.cycle_start >= 0 ? rec.cycle_start : nominal_cycle_start();
    const long by_cycles = start + per_cycle * o.cycles;
    total = total > 0 && total < by_cycles ? total : by_cycles;
  }
  return total;
}

void show_progress(bool force) {
  progress_update(&rec.progress, rec.presents, total_presents(), double(rec.timeline.now) / kTimelineSampleRate,
                  now_us(), force);
}

void usage_error(const std::string& message) {
  std::fprintf(stderr, "krom7316-record: %s\n%s", message.c_str(), recopts_usage());
  rec.status = 2;
  rec.stop = true;
}

void open_outputs() {
  std::string error;
  const RecOptions& o = rec.options;
  if (!o.png_dir.empty() && !pngout_make_dir(o.png_dir, &error)) return fail(error);
  if (!o.wav_path.empty()) {
    rec.wav = wavout_open(o.wav_path, &error);
    if (!rec.wav) return fail(error);
    remember(wav_part, wavout_part_name(rec.wav));
  }
  if (!o.raw_path.empty()) {
    // A pipe or a device is written directly; a file under a temporary name.
    struct stat st {};
    const bool special = stat(o.raw_path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
    rec.raw_part = special ? o.raw_path : o.raw_path + ".part";
    rec.raw = std::fopen(rec.raw_part.c_str(), "wb");
    if (!rec.raw) return fail("cannot write \"" + o.raw_path + "\": " + std::strerror(errno));
    remember(raw_part_name, rec.raw_part.c_str());
  }
  if (!o.video_path.empty()) {
    rec.video = videoout_open(o.video_path, the_display.width, the_display.height, int32_t(o.scale), o.lossless,
                              o.preset, &error);
    if (!rec.video) return fail(error);
    remember(video_part, videoout_part_name(rec.video));
  }
}

}  // namespace

void platform_init(int argc, char** argv) {
  rec.start_us = now_us();
  std::set_new_handler(on_out_of_memory);
  std::string error;
  switch (recopts_parse(argc, argv, &rec.options, &error)) {
    case RecParse::help:
      std::fputs(recopts_usage(), stdout);
      rec.status = 0;
      rec.stop = true;
      return;
    case RecParse::list_scenes:
      std::printf("%s %d\n", scene_intro.name, int(scene_intro.frames));
      for (const Scene& scene : scene_sequence) std::printf("%s %d\n", scene.name, int(scene.frames));
      rec.status = std::fflush(stdout) == 0 ? 0 : 1;
      rec.stop = true;
      return;
    case RecParse::usage_error:
      return usage_error(error);
    case RecParse::run:
      break;
  }
  if (!rec.options.keys.empty() && !keyscript_parse(&rec.keys, rec.options.keys, &error)) return usage_error(error);
  rec.timeline.fade_samples = timeline_ms_samples(rec.options.fade_ms);
  rec.stats.bench = rec.options.bench;
  rec.stats.rss = rec.options.rss;
  rec.opening = true;
  open_outputs();
  if (rec.stop) return;
  // The first signal ends the capture with what it holds; a second one ends the process at once.
  struct sigaction action {};
  action.sa_handler = on_signal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  progress_start(&rec.progress, !rec.options.quiet, rec.start_us);
}

long platform_seed_time() { return rec.options.seed >= 0 ? rec.options.seed : long(std::time(nullptr)); }

double platform_clock_us() { return now_us(); }
void platform_sleep_until_us(double) {}

bool platform_should_stop() { return stopping(); }

int platform_finish(int status) {
  if (rec.finished) return rec.status >= 0 ? rec.status : status;
  rec.finished = true;
  if (!rec.opening) return rec.status;   // help, the scene list or bad usage: nothing was opened
  if (rec.status < 0 && caught_signal) rec.status = 128 + caught_signal;
  const bool keep = rec.status != 1;
  if (keep) close_pending();
  std::string error;
  // close_pending may have failed, so keep is asked again.
  if (!videoout_close(&rec.video, rec.status != 1, &error)) fail(error);
  if (!wavout_close(&rec.wav, rec.status != 1, &error)) fail(error);
  if (rec.raw) {
    const bool written = std::fclose(rec.raw) == 0;
    rec.raw = nullptr;
    if (!written) fail("cannot write \"" + rec.options.raw_path + "\": " + std::strerror(errno));
    if (rec.raw_part != rec.options.raw_path &&
        (rec.status == 1 || std::rename(rec.raw_part.c_str(), rec.options.raw_path.c_str()) != 0)) {
      std::remove(rec.raw_part.c_str());
    }
  }
  wav_part[0] = video_part[0] = raw_part_name[0] = 0;
  if (rec.progress.drawn) show_progress(true);
  progress_end(&rec.progress);
  recstats_finish(&rec.stats);
  return rec.status >= 0 ? rec.status : status;
}

void platform_frame_done(const Fps* fps) {
  if (!fps || stopping()) return;
  recstats_frame(&rec.stats, fps->work_us / 1000.0);
}

void platform_scene_begin(const char* name) {
  if (stopping()) return;
  if (rec.stats.startup_ms < 0) rec.stats.startup_ms = (now_us() - rec.start_us) / 1000.0;
  // A cycle starts with the first scene of the sequence.
  if (name && std::strcmp(name, scene_sequence[0].name) == 0) {
    if (rec.cycle_start >= 0 && rec.presents_per_cycle == 0) rec.presents_per_cycle = rec.presents - rec.cycle_start;
    if (rec.cycle_start < 0) rec.cycle_start = rec.presents;
    if (rec.options.cycles > 0 && rec.cycles_begun == rec.options.cycles) {
      rec.stop = true;
      return;
    }
    ++rec.cycles_begun;
    recstats_cycle_begin(&rec.stats);
  }
  recstats_scene_begin(&rec.stats, name);
}

// The window: a frame sink.
XDpy* xdpy_new() { return &the_display; }

void xdpy_resize(XDpy* dpy, int32_t width, int32_t height) {
  if (!dpy || width < 0 || height < 0) return;
  dpy->width = width;
  dpy->height = height;
}

void xdpy_present(XDpy* dpy, const Image* image) {
  if (!dpy || !img_valid(image) || stopping()) return;
  const long index = rec.presents++;
  std::string error;
  if (!rec.options.png_dir.empty() && index % rec.options.every == 0 &&
      !pngout_write(rec.options.png_dir, index, image->pixels, image->width, image->height, &error)) {
    return fail(error);
  }
  if (rec.raw) {
    const std::size_t count = std::size_t(image->width) * std::size_t(image->height);
    if (std::fwrite(image->pixels, 4, count, rec.raw) != count) {
      return fail("cannot write \"" + rec.options.raw_path + "\": " + std::strerror(errno));
    }
  }
  if (rec.video && (image->width != the_display.width || image->height != the_display.height)) {
    return fail("cannot write video \"" + rec.options.video_path + "\": a frame changed size");
  }
  close_pending();
  hold(image, index == 0 ? PresentKind::loading : PresentKind::fade);
  show_progress(false);
  if (rec.presents >= rec.options.frames) rec.stop = true;
}

void xdpy_wait_input(int32_t) {}

// The keyboard: the script. A poll after a present makes that present a frame of the show's
// frame loop (fades poll no keys); keys 5 and 6 set the rate of the frames that follow.
XKbd* xkbd_new() { return &the_keyboard; }

void xkbd_poll(XKbd* kbd) {
  if (!kbd) return;
  if (rec.pending.held && rec.pending.kind != PresentKind::loading) rec.pending.kind = PresentKind::frame;
  if (stopping()) return;
  const char key = keyscript_poll(&rec.keys, rec.presents);
  if (!key) return;
  if (key == '5') rec.rate = 25;
  if (key == '6') rec.rate = 50;
  kbd->text[0] = key;
  kbd->text[1] = 0;
  kbd->keycode = 1;
}

// The sound output: a backend that takes every block of the chosen size; its samples go to the
// WAV file and, with the present they follow, to the video. The faults make it missing (no
// backend), busy (another process holds it: no backend either) or refusing (it opens, then
// takes nothing).
namespace {

struct FileDev {
  SndDev base;
};

long file_write(SndDev*, const int16_t* samples, int32_t count) {
  if (rec.options.sound_fault == "refuse") return -1;
  if (count <= 0) return 0;
  if (rec.video && rec.pending.held) rec.pending.sound.insert(rec.pending.sound.end(), samples, samples + count);
  std::string error;
  if (!stopping() && !wavout_write(rec.wav, samples, std::size_t(count), &error)) fail(error);
  return count;
}

void file_close(SndDev* dev) { std::free(reinterpret_cast<FileDev*>(dev)); }

constexpr SndDevOps kFileOps = {"file", file_write, file_close};

}  // namespace

SndDev* snddev_open(const char*, SndDevAnswer* answer) {
  const RecOptions& o = rec.options;
  if (!answer || o.block <= 0 || o.sound_fault == "missing" || o.sound_fault == "busy") return nullptr;
  FileDev* dev = static_cast<FileDev*>(std::calloc(1, sizeof(FileDev)));
  if (!dev) return nullptr;
  dev->base.ops = &kFileOps;
  answer->block_bytes = int32_t(o.block * 2);
  return &dev->base;
}
