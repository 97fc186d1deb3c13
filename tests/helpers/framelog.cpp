// Preloaded into the demo by the sound-server test: writes one line per frame-pacing sleep of
// the main thread ("S <monotonic seconds>") and one per image put to the window
// ("P <monotonic seconds>") to the file named by KROM_FRAMELOG. A scene is a run of frames, each
// with its sleep; a scene change is a fade, hundreds of puts without a sleep between them.
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using NanosleepFn = int (*)(clockid_t, int, const timespec*, timespec*);
using PutImageFn = int (*)(Display*, Drawable, GC, XImage*, int, int, int, int, unsigned, unsigned);

bool main_thread() { return getpid() == pid_t(syscall(SYS_gettid)); }

void note(char kind) {
  static FILE* f = [] {
    const char* path = std::getenv("KROM_FRAMELOG");
    return path ? std::fopen(path, "w") : nullptr;
  }();
  if (!f) return;
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::fprintf(f, "%c %ld.%09ld\n", kind, long(now.tv_sec), now.tv_nsec);
  std::fflush(f);
}

}  // namespace

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* request, timespec* remain) {
  static NanosleepFn next = reinterpret_cast<NanosleepFn>(dlsym(RTLD_NEXT, "clock_nanosleep"));
  if (clock == CLOCK_MONOTONIC && main_thread()) note('S');
  return next(clock, flags, request, remain);
}

extern "C" int XPutImage(Display* d, Drawable w, GC gc, XImage* image, int sx, int sy, int dx, int dy, unsigned width,
                         unsigned height) {
  static PutImageFn next = reinterpret_cast<PutImageFn>(dlsym(RTLD_NEXT, "XPutImage"));
  note('P');
  return next(d, w, gc, image, sx, sy, dx, dy, width, height);
}
