// The sound writer: libsndfile, checked at every write and at the close.
#include "platform/headless/wavout.h"

#include <sndfile.h>

#include <cstdio>
#include <new>

struct WavOut {
  std::string path;
  std::string part;
  SNDFILE* file = nullptr;
};

WavOut* wavout_open(const std::string& path, std::string* error) {
  WavOut* wav = new (std::nothrow) WavOut;
  if (!wav) {
    *error = "cannot write \"" + path + "\": out of memory";
    return nullptr;
  }
  wav->path = path;
  wav->part = path + ".part";
  SF_INFO info = {};
  info.samplerate = 44100;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  wav->file = sf_open(wav->part.c_str(), SFM_WRITE, &info);
  if (!wav->file) {
    *error = "cannot write \"" + path + "\": " + sf_strerror(nullptr);
    delete wav;
    return nullptr;
  }
  return wav;
}

bool wavout_write(WavOut* wav, const int16_t* samples, std::size_t count, std::string* error) {
  if (!wav || !wav->file || count == 0) return true;
  const sf_count_t n = sf_write_short(wav->file, samples, sf_count_t(count));
  if (n == sf_count_t(count)) return true;
  *error = "cannot write \"" + wav->path + "\": " + sf_strerror(wav->file);
  return false;
}

bool wavout_close(WavOut** wav, bool keep, std::string* error) {
  if (!wav || !*wav) return true;
  WavOut* w = *wav;
  *wav = nullptr;
  bool ok = true;
  if (w->file) {
    if (sf_close(w->file) != 0) {
      ok = false;
      if (keep) *error = "cannot write \"" + w->path + "\": " + sf_strerror(nullptr);
    }
    w->file = nullptr;
  }
  if (keep && ok && std::rename(w->part.c_str(), w->path.c_str()) != 0) {
    ok = false;
    *error = "cannot write \"" + w->path + "\": cannot rename the finished file";
  }
  if (!keep || !ok) std::remove(w->part.c_str());
  delete w;
  return ok;
}

const char* wavout_part_name(const WavOut* wav) { return wav ? wav->part.c_str() : nullptr; }
