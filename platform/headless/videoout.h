// VIDEOOUT: a finished video file through FFmpeg's libraries, 50 frames per second with one mono
// 44100 Hz sound track. The container follows the file's extension: .mp4 (H.264 + AAC), .mkv
// (H.264 + FLAC, or FFV1 + FLAC when lossless), .webm (VP8 + Vorbis). Pictures are 0x00RRGGBB
// images, each pixel enlarged to scale x scale with no smoothing. The file is written as
// FILE.part and renamed when it is finished; a failure removes it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct VideoOut;

// False when this build has no video support.
bool videoout_available();
// Opens FILE.part for pictures of width x height (before scaling); scale 1 .. 8; preset: the
// H.264 encoder's speed preset ("ultrafast" ... "veryslow"). Null with a one-line reason in
// `error` (unknown extension, missing encoder, unwritable file, unknown preset).
VideoOut* videoout_open(const std::string& path, int32_t width, int32_t height, int32_t scale, bool lossless,
                        const std::string& preset, std::string* error);
// Adds `count` video frames showing `pixels` (width x height, row after row).
bool videoout_picture(VideoOut* video, const uint32_t* pixels, int64_t count, std::string* error);
// Adds sound samples to the track.
bool videoout_sound(VideoOut* video, const int16_t* samples, std::size_t count, std::string* error);
// keep: flush the encoders, finish the file and rename it to FILE; otherwise remove it. Frees
// `*video` and nulls it; false (and a reason) when a kept file could not be finished.
bool videoout_close(VideoOut** video, bool keep, std::string* error);
// The temporary name in use (for removal on a fatal error), or null.
const char* videoout_part_name(const VideoOut* video);
