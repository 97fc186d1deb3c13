// The video writer: one encoder per stream, packets interleaved by the muxer. Built only with
// FFmpeg's development files (KROM_VIDEO); without them every open says so.
#include "platform/headless/videoout.h"

#ifdef KROM_VIDEO

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/headless/timeline.h"

constexpr int kVideoRate = kTimelineVideoRate;
constexpr int kSampleRate = kTimelineSampleRate;

struct VideoOut {
  std::string path;
  std::string part;
  AVFormatContext* format = nullptr;
  AVCodecContext* picture_codec = nullptr;
  AVCodecContext* sound_codec = nullptr;
  AVStream* picture_stream = nullptr;
  AVStream* sound_stream = nullptr;
  AVFrame* picture = nullptr;
  AVFrame* sound = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* convert = nullptr;
  int32_t width = 0, height = 0, scale = 1;
  std::string preset;                // H.264 speed preset
  AVFrame* small = nullptr;          // the picture in YUV 4:4:4 at the show's size (H.264, VP8)
  std::vector<int16_t> waiting;      // samples not yet making a whole sound frame
  int64_t picture_pts = 0;
  int64_t sound_pts = 0;
  int sound_frame = 0;               // samples per sound frame
  bool header_written = false;
};

namespace {

struct Container {
  const char* extension;
  const char* muxer;
  const char* picture;          // encoder names
  const char* lossless_picture; // null: no lossless choice
  const char* sound;
};

const Container kContainers[] = {
    {".mp4", "mp4", "libx264", nullptr, "aac"},
    {".mkv", "matroska", "libx264", "ffv1", "flac"},
    {".webm", "webm", "libvpx", nullptr, "libvorbis"},
};

std::string av_text(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

bool ends_with(const std::string& s, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool fail(VideoOut* v, std::string* error, const std::string& why) {
  *error = "cannot write video \"" + v->path + "\": " + why;
  return false;
}

// Sends one frame (null: flush) and writes every packet the encoder has ready.
bool encode(VideoOut* v, AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string* error) {
  int r = avcodec_send_frame(codec, frame);
  if (r < 0) return fail(v, error, "encoder: " + av_text(r));
  for (;;) {
    r = avcodec_receive_packet(codec, v->packet);
    if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
    if (r < 0) return fail(v, error, "encoder: " + av_text(r));
    av_packet_rescale_ts(v->packet, codec->time_base, stream->time_base);
    v->packet->stream_index = stream->index;
    r = av_interleaved_write_frame(v->format, v->packet);
    if (r < 0) return fail(v, error, av_text(r));
  }
}

bool open_picture(VideoOut* v, const char* name, std::string* error) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec) return fail(v, error, std::string("this machine's libavcodec has no ") + name + " encoder");
  AVCodecContext* c = v->picture_codec = avcodec_alloc_context3(codec);
  if (!c) return fail(v, error, "out of memory");
  c->width = v->width * v->scale;
  c->height = v->height * v->scale;
  c->time_base = AVRational{1, kVideoRate};
  c->framerate = AVRational{kVideoRate, 1};
  const bool rgb = std::strcmp(name, "ffv1") == 0;
  c->pix_fmt = rgb ? AV_PIX_FMT_0RGB32 : AV_PIX_FMT_YUV420P;
  if (rgb) {
    c->gop_size = 1;
    av_opt_set_int(c->priv_data, "level", 3, 0);
  } else {
    c->gop_size = 5 * kVideoRate;
    c->colorspace = AVCOL_SPC_SMPTE170M;
    c->color_primaries = AVCOL_PRI_SMPTE170M;
    c->color_trc = AVCOL_TRC_SMPTE170M;
    c->color_range = AVCOL_RANGE_MPEG;
  }
  if (std::strcmp(name, "libx264") == 0) {
    av_opt_set(c->priv_data, "preset", v->preset.c_str(), 0);
    av_opt_set(c->priv_data, "crf", "20", 0);
  } else if (std::strcmp(name, "libvpx") == 0) {
    c->bit_rate = 2000000L * v->scale;
    av_opt_set(c->priv_data, "deadline", "realtime", 0);
    av_opt_set_int(c->priv_data, "cpu-used", 8, 0);
  }
  if (v->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int r = avcodec_open2(c, codec, nullptr);
  if (r < 0) return fail(v, error, std::string(name) + ": " + av_text(r));
  v->picture_stream = avformat_new_stream(v->format, nullptr);
  if (!v->picture_stream) return fail(v, error, "out of memory");
  v->picture_stream->time_base = c->time_base;
  v->picture_stream->avg_frame_rate = c->framerate;
  r = avcodec_parameters_from_context(v->picture_stream->codecpar, c);
  if (r < 0) return fail(v, error, av_text(r));
  v->picture = av_frame_alloc();
  if (!v->picture) return fail(v, error, "out of memory");
  v->picture->format = c->pix_fmt;
  v->picture->width = c->width;
  v->picture->height = c->height;
  if (av_frame_get_buffer(v->picture, 0) < 0) return fail(v, error, "out of memory");
  if (!rgb) {
    // The colours are converted at the show's size; enlarging the planes afterwards is a copy.
    v->convert = sws_getContext(v->width, v->height, AV_PIX_FMT_0RGB32, v->width, v->height, AV_PIX_FMT_YUV444P,
                                SWS_POINT, nullptr, nullptr, nullptr);
    v->small = av_frame_alloc();
    if (!v->convert || !v->small) return fail(v, error, "no colour conversion to " + std::string(name) + "'s format");
    v->small->format = AV_PIX_FMT_YUV444P;
    v->small->width = v->width;
    v->small->height = v->height;
    if (av_frame_get_buffer(v->small, 0) < 0) return fail(v, error, "out of memory");
  }
  return true;
}

bool open_sound(VideoOut* v, const char* name, std::string* error) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec) return fail(v, error, std::string("this machine's libavcodec has no ") + name + " encoder");
  AVCodecContext* c = v->sound_codec = avcodec_alloc_context3(codec);
  if (!c) return fail(v, error, "out of memory");
  c->sample_rate = kSampleRate;
  av_channel_layout_default(&c->ch_layout, 1);
  c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  // Prefer 16-bit samples where the encoder takes them: the track then holds the show's values.
  for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
    if (*f == AV_SAMPLE_FMT_S16) c->sample_fmt = AV_SAMPLE_FMT_S16;
  }
  c->time_base = AVRational{1, kSampleRate};
  if (std::strcmp(name, "flac") != 0) c->bit_rate = 192000;
  if (v->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int r = avcodec_open2(c, codec, nullptr);
  if (r < 0) return fail(v, error, std::string(name) + ": " + av_text(r));
  v->sound_stream = avformat_new_stream(v->format, nullptr);
  if (!v->sound_stream) return fail(v, error, "out of memory");
  v->sound_stream->time_base = c->time_base;
  r = avcodec_parameters_from_context(v->sound_stream->codecpar, c);
  if (r < 0) return fail(v, error, av_text(r));
  v->sound_frame = c->frame_size > 0 ? c->frame_size : 4096;
  v->sound = av_frame_alloc();
  if (!v->sound) return fail(v, error, "out of memory");
  v->sound->format = c->sample_fmt;
  v->sound->nb_samples = v->sound_frame;
  v->sound->sample_rate = c->sample_rate;
  if (av_channel_layout_copy(&v->sound->ch_layout, &c->ch_layout) < 0) return fail(v, error, "out of memory");
  if (av_frame_get_buffer(v->sound, 0) < 0) return fail(v, error, "out of memory");
  return true;
}

// Encodes `count` samples from the front of `waiting` as one sound frame.
bool send_sound(VideoOut* v, int count, std::string* error) {
  if (av_frame_make_writable(v->sound) < 0) return fail(v, error, "out of memory");
  v->sound->nb_samples = count;
  const int16_t* in = v->waiting.data();
  switch (v->sound_codec->sample_fmt) {
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S16P:
      std::memcpy(v->sound->data[0], in, std::size_t(count) * 2);
      break;
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S32P: {
      auto* out = reinterpret_cast<int32_t*>(v->sound->data[0]);
      for (int i = 0; i < count; ++i) out[i] = int32_t(uint32_t(int32_t(in[i])) << 16);
      break;
    }
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_FLTP: {
      auto* out = reinterpret_cast<float*>(v->sound->data[0]);
      for (int i = 0; i < count; ++i) out[i] = float(in[i]) / 32768.0f;
      break;
    }
    default:
      return fail(v, error, "the sound encoder wants an unsupported sample format");
  }
  v->sound->pts = v->sound_pts;
  v->sound_pts += count;
  v->waiting.erase(v->waiting.begin(), v->waiting.begin() + count);
  return encode(v, v->sound_codec, v->sound_stream, v->sound, error);
}

void free_all(VideoOut* v) {
  avcodec_free_context(&v->picture_codec);
  avcodec_free_context(&v->sound_codec);
  av_frame_free(&v->picture);
  av_frame_free(&v->small);
  av_frame_free(&v->sound);
  av_packet_free(&v->packet);
  sws_freeContext(v->convert);
  v->convert = nullptr;
  if (v->format) {
    if (v->format->pb) avio_closep(&v->format->pb);
    avformat_free_context(v->format);
    v->format = nullptr;
  }
}

}  // namespace

bool videoout_available() { return true; }

VideoOut* videoout_open(const std::string& path, int32_t width, int32_t height, int32_t scale, bool lossless,
                        const std::string& preset, std::string* error) {
  // The failures come back as results and are reported in one line of the recorder's own.
  av_log_set_level(AV_LOG_QUIET);
  VideoOut* v = new (std::nothrow) VideoOut;
  if (!v) {
    *error = "cannot write video \"" + path + "\": out of memory";
    return nullptr;
  }
  v->path = path;
  v->part = path + ".part";
  v->width = width;
  v->height = height;
  v->scale = scale;
  v->preset = preset;
  const Container* box = nullptr;
  for (const Container& c : kContainers) {
    if (ends_with(path, c.extension)) box = &c;
  }
  bool ok = true;
  if (!box) {
    ok = fail(v, error, "unknown extension (use .mp4, .mkv or .webm)");
  } else if (lossless && !box->lossless_picture) {
    ok = fail(v, error, "--lossless needs a .mkv file");
  } else if (avformat_alloc_output_context2(&v->format, nullptr, box->muxer, v->part.c_str()) < 0 || !v->format) {
    ok = fail(v, error, std::string("this machine's libavformat has no ") + box->muxer + " muxer");
  } else {
    v->packet = av_packet_alloc();
    if (!v->packet) ok = fail(v, error, "out of memory");
  }
  ok = ok && open_picture(v, lossless ? box->lossless_picture : box->picture, error);
  ok = ok && open_sound(v, box->sound, error);
  if (ok) {
    const int r = avio_open(&v->format->pb, v->part.c_str(), AVIO_FLAG_WRITE);
    if (r < 0) ok = fail(v, error, av_text(r));
  }
  if (ok) {
    AVDictionary* options = nullptr;
    if (std::strcmp(box->muxer, "mp4") == 0) av_dict_set(&options, "movflags", "+faststart", 0);
    const int r = avformat_write_header(v->format, &options);
    av_dict_free(&options);
    if (r < 0) ok = fail(v, error, av_text(r));
    v->header_written = ok;
  }
  if (!ok) {
    const bool made = v->format && v->format->pb;
    free_all(v);
    if (made) std::remove(v->part.c_str());
    delete v;
    return nullptr;
  }
  return v;
}

namespace {

// Each pixel of the 0x00RRGGBB picture becomes a scale x scale block of the BGR0 frame.
void enlarge_rgb(VideoOut* v, const uint32_t* pixels) {
  const int32_t n = v->scale;
  const std::size_t row_bytes = std::size_t(v->width * n) * 4;
  uint8_t* const base = v->picture->data[0];
  const std::ptrdiff_t stride = v->picture->linesize[0];
  for (int32_t y = 0; y < v->height; ++y) {
    const uint32_t* src = pixels + std::size_t(y) * std::size_t(v->width);
    uint8_t* first = base + std::ptrdiff_t(y) * n * stride;
    auto* dst = reinterpret_cast<uint32_t*>(first);
    for (int32_t x = 0; x < v->width; ++x) {
      for (int32_t k = 0; k < n; ++k) *dst++ = src[x];
    }
    for (int32_t copy = 1; copy < n; ++copy) std::memcpy(first + copy * stride, first, row_bytes);
  }
}

// The 4:4:4 planes at the show's size into the 4:2:0 frame, scale x scale: luma by repetition,
// each chroma sample the mean of the four show pixels its 2 x 2 block of output pixels comes from
// (for an even scale that is one pixel, so every block keeps its exact colour).
void enlarge_yuv(VideoOut* v) {
  const int32_t n = v->scale;
  const int32_t out_w = v->width * n, out_h = v->height * n;
  const AVFrame* in = v->small;
  AVFrame* out = v->picture;
  for (int32_t y = 0; y < out_h; ++y) {
    uint8_t* dst = out->data[0] + std::ptrdiff_t(y) * out->linesize[0];
    if (y % n != 0) {
      std::memcpy(dst, dst - out->linesize[0], std::size_t(out_w));
      continue;
    }
    const uint8_t* src = in->data[0] + std::ptrdiff_t(y / n) * in->linesize[0];
    for (int32_t x = 0; x < v->width; ++x) {
      std::memset(dst, src[x], std::size_t(n));
      dst += n;
    }
  }
  for (int plane = 1; plane <= 2; ++plane) {
    for (int32_t cy = 0; cy < out_h / 2; ++cy) {
      const uint8_t* r0 = in->data[plane] + std::ptrdiff_t(2 * cy / n) * in->linesize[plane];
      const uint8_t* r1 = in->data[plane] + std::ptrdiff_t((2 * cy + 1) / n) * in->linesize[plane];
      uint8_t* dst = out->data[plane] + std::ptrdiff_t(cy) * out->linesize[plane];
      for (int32_t cx = 0; cx < out_w / 2; ++cx) {
        const int32_t c0 = 2 * cx / n, c1 = (2 * cx + 1) / n;
        dst[cx] = uint8_t((r0[c0] + r0[c1] + r1[c0] + r1[c1] + 2) >> 2);
      }
    }
  }
}

}  // namespace

bool videoout_picture(VideoOut* v, const uint32_t* pixels, int64_t count, std::string* error) {
  if (!v || count <= 0) return true;
  if (av_frame_make_writable(v->picture) < 0) return fail(v, error, "out of memory");
  if (v->convert) {
    const uint8_t* planes[1] = {reinterpret_cast<const uint8_t*>(pixels)};
    const int strides[1] = {v->width * 4};
    sws_scale(v->convert, planes, strides, 0, v->height, v->small->data, v->small->linesize);
    enlarge_yuv(v);
  } else {
    enlarge_rgb(v, pixels);
  }
  for (int64_t i = 0; i < count; ++i) {
    v->picture->pts = v->picture_pts++;
    if (!encode(v, v->picture_codec, v->picture_stream, v->picture, error)) return false;
  }
  return true;
}

bool videoout_sound(VideoOut* v, const int16_t* samples, std::size_t count, std::string* error) {
  if (!v || count == 0) return true;
  v->waiting.insert(v->waiting.end(), samples, samples + count);
  while (v->waiting.size() >= std::size_t(v->sound_frame)) {
    if (!send_sound(v, v->sound_frame, error)) return false;
  }
  return true;
}

bool videoout_close(VideoOut** video, bool keep, std::string* error) {
  if (!video || !*video) return true;
  VideoOut* v = *video;
  *video = nullptr;
  bool ok = true;
  if (keep) {
    // The last sound frame may be short: the encoders here accept a smaller last frame.
    if (!v->waiting.empty()) ok = send_sound(v, int(v->waiting.size()), error);
    ok = ok && encode(v, v->picture_codec, v->picture_stream, nullptr, error);
    ok = ok && encode(v, v->sound_codec, v->sound_stream, nullptr, error);
    if (ok) {
      const int r = av_write_trailer(v->format);
      if (r < 0) ok = fail(v, error, av_text(r));
    }
    if (ok && v->format->pb->error < 0) ok = fail(v, error, av_text(v->format->pb->error));
    if (ok) {
      const int r = avio_closep(&v->format->pb);
      if (r < 0) ok = fail(v, error, av_text(r));
    }
    if (ok && std::rename(v->part.c_str(), v->path.c_str()) != 0) {
      ok = fail(v, error, "cannot rename the finished file");
    }
  }
  free_all(v);
  if (!keep || !ok) std::remove(v->part.c_str());
  delete v;
  return ok;
}

const char* videoout_part_name(const VideoOut* v) { return v ? v->part.c_str() : nullptr; }

#else  // no FFmpeg

struct VideoOut {};

bool videoout_available() { return false; }

VideoOut* videoout_open(const std::string& path, int32_t, int32_t, int32_t, bool, const std::string&,
                        std::string* error) {
  *error = "cannot write video \"" + path + "\": this build has no video support (FFmpeg's development packages "
           "were missing when it was configured)";
  return nullptr;
}
bool videoout_picture(VideoOut*, const uint32_t*, int64_t, std::string*) { return false; }
bool videoout_sound(VideoOut*, const int16_t*, std::size_t, std::string*) { return false; }
bool videoout_close(VideoOut** video, bool, std::string*) {
  if (video) *video = nullptr;
  return true;
}
const char* videoout_part_name(const VideoOut*) { return nullptr; }

#endif
