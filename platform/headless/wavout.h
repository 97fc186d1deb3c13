// WAVOUT: the sound stream as a 44100 Hz 16-bit mono WAV. The file is written under a temporary
// name (FILE.part) and gets its own name only when closed whole; a failure removes it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct WavOut;

// Opens FILE.part for writing; null with a one-line reason in `error`.
WavOut* wavout_open(const std::string& path, std::string* error);
// Appends samples; false (and a reason) when they could not all be written.
bool wavout_write(WavOut* wav, const int16_t* samples, std::size_t count, std::string* error);
// keep: finish the header and rename to FILE; otherwise remove the partial file. Frees `*wav`
// and nulls it; false (and a reason) when a kept file could not be finished.
bool wavout_close(WavOut** wav, bool keep, std::string* error);
// The temporary name in use (for removal on a fatal error), or null.
const char* wavout_part_name(const WavOut* wav);
