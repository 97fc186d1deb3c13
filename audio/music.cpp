// MUSIC: the pattern generator over the instrument bank, clocked once per frame.
#include "audio/music.h"

#include <cstdio>
#include <cstdlib>

#include "audio/list.h"
#include "audio/sample.h"
#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"MUSIC   ", "Kelvardo", "19970503", "C       ",
                                                 "CODE    "};

constexpr bool kReport = false;

void music_error() {
  if (kReport) puts("MUSIC ERROR");
}

}  // namespace

Music* music_new() {
  Music* m = static_cast<Music*>(calloc(1, sizeof(Music)));
  if (!m) return nullptr;
  m->loop = sample_new();
  m->instruments = list_new();
  if (m->loop) sample_set_length(m->loop, MUSIC_LOOP_LENGTH);
  if (!m->loop || m->loop->length != MUSIC_LOOP_LENGTH || !m->instruments) {
    music_free(&m);
    return nullptr;
  }
  m->period = MUSIC_PERIOD;
  m->countdown = 0;
  return m;
}

void music_free(Music** m) {
  if (!m || !*m) {
    music_error();
    return;
  }
  Music* music = *m;
  if (music->instruments) {
    for (int32_t i = 0; i < music->instruments->count; ++i) {
      Sample* s = static_cast<Sample*>(list_get(music->instruments, i));
      if (s) sample_free(&s);
    }
    list_free(&music->instruments);
  }
  if (music->pattern) sample_free(&music->pattern);
  if (music->loop) sample_free(&music->loop);
  free(music);
  *m = nullptr;
}

void music_add_instrument(Music* m, Sample* s) {
  if (!m || !s || !m->instruments) return;
  list_push(m->instruments, s);
}

void music_tick(Music* m) {
  if (!m) return;
  if (m->countdown <= 0) m->countdown = m->period;
  m->countdown--;
  if (m->countdown <= 0) music_new_pattern(m);
}

void music_new_pattern(Music* m) {
  if (!m || !m->loop) return;
  const int32_t length = m->loop->length;
  if (m->pattern && m->pattern->length != length) sample_free(&m->pattern);
  if (!m->pattern) {
    m->pattern = sample_new();
    if (!m->pattern) return;
    sample_set_length(m->pattern, length);
  }
  Sample* p = m->pattern;
  sample_clear(p);
  if (!m->instruments || m->instruments->count <= 0) return;

  // Six draws, in this order: instrument, four offset bits, repeat exponent.
  const int32_t index = rand() % m->instruments->count;
  const int32_t b2 = rand() % 2;
  const int32_t b3 = rand() % 2;
  const int32_t b4 = rand() % 2;
  const int32_t b5 = rand() % 2;
  const int32_t offset =
      b2 * (length >> 1) + b3 * (length >> 2) + b4 * (length >> 4) + b5 * (length >> 3);
  const int32_t c = rand() % 4;
  const int32_t copies = 1 << c;

  const Sample* instrument = static_cast<const Sample*>(list_get(m->instruments, index));
  // Each round adds the instrument at the start and turns the loop on by one spacing, so after
  // the last round the copies sit at 0, L/d, 2L/d, ...
  for (int32_t i = 0; i < copies; ++i) {
    if (instrument) sample_add(p, instrument);
    sample_rotate(p, length / copies);
  }
  sample_mul(p, 4 - c);
  sample_shr(p, 2);
  sample_rotate(p, offset);
}
