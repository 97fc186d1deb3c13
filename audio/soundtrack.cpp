// The soundtrack: joins the instrument bank, the sequencer, the mixer and the sound stream.
#include "audio/soundtrack.h"

#include <cstdint>
#include <cstdlib>

#include "audio/list.h"
#include "audio/music.h"
#include "audio/sample.h"
#include "audio/sound.h"
#include "audio/soundmix.h"
#include "audio/xsnd.h"
#include "image/fixed.h"

Soundtrack soundtrack;

namespace {

constexpr int32_t kTonalEnd = 96;      // instruments 0 .. 95 are one second long
constexpr int32_t kTonalLength = 44100;
constexpr int32_t kDrumLength = 22050;

}  // namespace

void soundtrack_init() {
  soundtrack.music = music_new();
  soundtrack.mixer = soundmix_new();
  Music* music = soundtrack.music;
  SoundMix* mixer = soundtrack.mixer;
  if (mixer && music && music->loop) sample_set_length(mixer->output, music->loop->length);

  soundtrack.scratch = sample_new();
  Sample* scratch = soundtrack.scratch;
  if (!scratch) return;
  sample_set_length(scratch, kTonalLength);
  for (int32_t k = 0; k < SOUND_INSTRUMENTS; ++k) {
    if (k == kTonalEnd) sample_set_length(scratch, kDrumLength);
    Sample* instrument = sound_instrument(scratch, k);
    if (!instrument) continue;
    if (music && music->instruments) {
      music_add_instrument(music, instrument);
    } else {
      sample_free(&instrument);
    }
  }
}

void soundtrack_pump() {
  Music* music = soundtrack.music;
  SoundMix* mixer = soundtrack.mixer;
  music_tick(music);
  soundmix_mix(mixer);
  if (!music || !music->instruments || music->instruments->count <= 0) return;
  if (!mixer || !mixer->voices || mixer->voices->count <= 0) return;

  if (music->countdown == 0) {
    List* voices = mixer->voices;
    const int32_t k = rand() % voices->count;
    // The voice is replaced only by a real copy: a failed clone keeps the old layer playing.
    Sample* fresh = sample_clone(music->pattern);
    if (fresh) {
      Sample* old = static_cast<Sample*>(list_get(voices, k));
      if (old) sample_free(&old);
      list_set(voices, k, fresh);
      sample_set(mixer->volumes, k, FIX_ONE);
      soundmix_voices_changed(mixer);   // the clone may reuse the freed voice's storage
    }
  }

  XSnd* stream = soundtrack.stream;
  if (!stream) return;
  if (stream->pending && stream->pending->count < SOUNDTRACK_QUEUE) list_push(stream->pending, mixer->output);
  xsnd_play(stream);
}

void soundtrack_release() {
  if (soundtrack.music) music_free(&soundtrack.music);
  if (soundtrack.mixer) soundmix_free(&soundtrack.mixer);
  if (soundtrack.scratch) sample_free(&soundtrack.scratch);
}
