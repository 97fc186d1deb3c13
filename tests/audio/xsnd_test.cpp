// XSND on the OSS backend against a fake device. This file also defines the sound-output seam for
// the whole audio test program (tests_audio links no platform layer): the OSS backend runs on a
// table of fake system calls, every call is recorded, the answers and failures are chosen per
// test. soundtrack_test.cpp reaches it through the fake_dsp_* functions.
#include "audio/xsnd.h"

#include <fcntl.h>
#if __has_include(<linux/soundcard.h>)
#include <linux/soundcard.h>
#else
// A C library without the OSS header (the browser's): the request codes as Linux defines them.
#define SNDCTL_DSP_RESET 0x5000
#define SNDCTL_DSP_SPEED 0xC0045002
#define SNDCTL_DSP_STEREO 0xC0045003
#define SNDCTL_DSP_GETBLKSIZE 0xC0045004
#define SNDCTL_DSP_SETFMT 0xC0045005
#define SNDCTL_DSP_SETFRAGMENT 0xC004500A
#define AFMT_S16_LE 0x00000010
#endif

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/list.h"
#include "audio/sample.h"
#include "platform/ossdev.h"
#include "platform/platform.h"

namespace {

constexpr int kFd = 7;

struct Ioctl {
  unsigned long request;
  bool has_arg;
  int arg;   // the value passed in
};

struct FakeDsp {
  // Set-up of the device.
  int open_errno = 0;                 // non-zero: open fails with it
  unsigned long refuse = 0;           // this request fails with EINVAL
  int block_bytes = 1764;             // answer to the block-size request
  bool honour_fragment = false;       // answer the block size from the fragment request instead
  int speed_answer = 44100;
  int stereo_answer = 0;
  int format_answer = AFMT_S16_LE;
  long accept = -1;                   // bytes taken per write: -1 all, 0 none (EAGAIN)
  // What happened.
  std::string path;
  int flags = -1;
  int opens = 0;
  std::vector<Ioctl> ioctls;
  std::vector<int> closes;
  std::vector<std::size_t> write_bytes;        // size asked for, per write
  std::vector<unsigned char> stream;           // the bytes the device took
  bool open = false;
};

FakeDsp dsp;

int fake_open(const char* path, int flags) {
  dsp.opens++;
  dsp.path = path ? path : "";
  dsp.flags = flags;
  if (dsp.open_errno) {
    errno = dsp.open_errno;
    return -1;
  }
  dsp.open = true;
  return kFd;
}

int fake_ioctl(int fd, unsigned long request, int* arg) {
  dsp.ioctls.push_back({request, arg != nullptr, arg ? *arg : 0});
  if (fd != kFd || !dsp.open || request == dsp.refuse) {
    errno = fd != kFd ? EBADF : EINVAL;
    return -1;
  }
  if (!arg) return 0;
  if (request == SNDCTL_DSP_SETFRAGMENT && dsp.honour_fragment) dsp.block_bytes = 1 << (*arg & 0xffff);
  if (request == SNDCTL_DSP_GETBLKSIZE) *arg = dsp.block_bytes;
  if (request == SNDCTL_DSP_SPEED) *arg = dsp.speed_answer;
  if (request == SNDCTL_DSP_STEREO) *arg = dsp.stereo_answer;
  if (request == SNDCTL_DSP_SETFMT) *arg = dsp.format_answer;
  return 0;
}

long fake_write(int fd, const void* data, std::size_t bytes) {
  dsp.write_bytes.push_back(bytes);
  if (fd != kFd || !dsp.open) {
    errno = EBADF;
    return -1;
  }
  if (dsp.accept == 0 && bytes > 0) {
    errno = EAGAIN;
    return -1;
  }
  std::size_t taken = dsp.accept < 0 ? bytes : std::min(bytes, std::size_t(dsp.accept));
  const unsigned char* p = static_cast<const unsigned char*>(data);
  // An odd count is answered as is but only whole samples are kept.
  dsp.stream.insert(dsp.stream.end(), p, p + (taken & ~std::size_t(1)));
  return long(taken);
}

void fake_close(int fd) {
  dsp.closes.push_back(fd);
  if (fd == kFd) dsp.open = false;
}

constexpr OssSys kFakeSys = {fake_open, fake_ioctl, fake_write, fake_close};

}  // namespace

SndDev* snddev_open(const char* path, SndDevAnswer* answer) { return ossdev_open_with(&kFakeSys, path, answer); }

// For the soundtrack tests: a fresh working device of the given block, and what it received.
void fake_dsp_reset(int block_bytes) {
  dsp = FakeDsp();
  dsp.block_bytes = block_bytes;
}
void fake_dsp_make_missing() { dsp.open_errno = ENOENT; }
std::vector<int16_t> fake_dsp_samples() {
  std::vector<int16_t> out(dsp.stream.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = int16_t(uint16_t(dsp.stream[2 * i] | (dsp.stream[2 * i + 1] << 8)));
  }
  return out;
}
std::size_t fake_dsp_writes() { return dsp.write_bytes.size(); }

namespace {

Sample* make_sample(int32_t length, int32_t (*value)(int32_t)) {
  Sample* s = sample_new();
  sample_set_length(s, length);
  for (int32_t i = 0; i < length; ++i) s->data[i] = value(i);
  return s;
}

int32_t ramp_value(int32_t i) { return i * 7 - 30000; }

class XsndTest : public ::testing::Test {
 protected:
  void SetUp() override { fake_dsp_reset(1764); }
  void TearDown() override {
    if (x) xsnd_free(&x);
    for (Sample* s : samples) sample_free(&s);
  }
  XSnd* open_stream(int32_t frame_rate = 50) {
    x = xsnd_open("/dev/dsp", frame_rate);
    return x;
  }
  Sample* keep(Sample* s) {
    samples.push_back(s);
    return s;
  }
  XSnd* x = nullptr;
  std::vector<Sample*> samples;
};

TEST_F(XsndTest, OpensNonBlockingAndConfiguresInOrder) {
  dsp.speed_answer = 44099;
  dsp.stereo_answer = 1;
  x = xsnd_new();
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(dsp.path, "/dev/dsp");
  EXPECT_EQ(dsp.flags, O_WRONLY | O_APPEND | O_NONBLOCK | O_ASYNC);
  EXPECT_EQ(dsp.flags, 0x2C01);

  const std::vector<Ioctl> expected = {
      {SNDCTL_DSP_RESET, false, 0},           {SNDCTL_DSP_SETFRAGMENT, true, 0x7fff000c},
      {SNDCTL_DSP_SETFMT, true, AFMT_S16_LE}, {SNDCTL_DSP_SETFMT, true, AFMT_S16_LE},
      {SNDCTL_DSP_STEREO, true, 0},           {SNDCTL_DSP_SPEED, true, 44100},
      {SNDCTL_DSP_GETBLKSIZE, true, 0},
  };
  ASSERT_EQ(dsp.ioctls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dsp.ioctls[i].request, expected[i].request) << "request " << i;
    EXPECT_EQ(dsp.ioctls[i].has_arg, expected[i].has_arg) << "request " << i;
    if (expected[i].request != SNDCTL_DSP_GETBLKSIZE) {
      EXPECT_EQ(dsp.ioctls[i].arg, expected[i].arg) << "request " << i;
    }
  }
  // The answers are stored, not compared.
  EXPECT_EQ(x->rate, 44099);
  EXPECT_EQ(x->stereo, 1);
  EXPECT_EQ(x->format, 16);
  EXPECT_EQ(x->sign, 's');
  EXPECT_EQ(x->byte_order, 'l');
  EXPECT_EQ(ossdev_descriptor(x->device), kFd);
  EXPECT_EQ(x->block_size, 1764);
  EXPECT_EQ(x->block_samples, 882);
  EXPECT_NE(x->output, nullptr);
  ASSERT_NE(x->pending, nullptr);
  EXPECT_EQ(x->pending->count, 0);
  EXPECT_EQ(x->frame_rate, 50);
  EXPECT_TRUE(dsp.closes.empty());
}

// A device that cannot be used leaves a silent stream: the record, no buffer, no block, the
// device not held, nothing printed, and a queue that never drains.
TEST_F(XsndTest, UnusableDeviceRunsSilently) {
  struct Case {
    const char* name;
    int open_errno;
    unsigned long refuse;
    int block_bytes;
    std::size_t ioctls;   // requests issued before giving up
  };
  const Case cases[] = {
      {"missing", ENOENT, 0, 1764, 0},
      {"busy", EBUSY, 0, 1764, 0},
      {"reset refused", 0, SNDCTL_DSP_RESET, 1764, 1},
      {"format refused", 0, SNDCTL_DSP_SETFMT, 1764, 3},
      {"channels refused", 0, SNDCTL_DSP_STEREO, 1764, 5},
      {"speed refused", 0, SNDCTL_DSP_SPEED, 1764, 6},
      {"block size refused", 0, SNDCTL_DSP_GETBLKSIZE, 1764, 7},
      {"block of one byte", 0, 0, 1, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake_dsp_reset(c.block_bytes);
    dsp.open_errno = c.open_errno;
    dsp.refuse = c.refuse;
    testing::internal::CaptureStdout();
    XSnd* s = xsnd_new();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(dsp.ioctls.size(), c.ioctls);
    EXPECT_EQ(s->device, nullptr);
    EXPECT_EQ(s->block_samples, 0);
    EXPECT_EQ(s->output, nullptr);
    EXPECT_FALSE(dsp.open) << "the device is still held";

    Sample* buffer = keep(make_sample(5000, ramp_value));
    for (int i = 0; i < 4; ++i) list_push(s->pending, buffer);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(xsnd_play(s), 1);
    EXPECT_EQ(s->pending->count, 4);
    EXPECT_EQ(s->position, 0);
    EXPECT_EQ(s->written, 0);
    EXPECT_TRUE(dsp.stream.empty());
    EXPECT_TRUE(dsp.write_bytes.empty());
    const std::size_t closes = dsp.closes.size();
    xsnd_free(&s);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(dsp.closes.size(), closes) << "a descriptor was closed twice";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  }
}

TEST_F(XsndTest, RefusedFragmentRequestIsOnlyAHint) {
  dsp.refuse = SNDCTL_DSP_SETFRAGMENT;
  ASSERT_NE(open_stream(), nullptr);
  EXPECT_EQ(dsp.ioctls.size(), 7u);
  EXPECT_EQ(ossdev_descriptor(x->device), kFd);
  EXPECT_EQ(x->block_samples, 882);
  EXPECT_NE(x->output, nullptr);
}

// Samples per write: the device block, but never more than one frame's worth.
TEST_F(XsndTest, WritesAtMostOneFrameOfSamples) {
  struct Case {
    int block_bytes;
    int32_t frame_rate;
    std::size_t samples;
  };
  const Case cases[] = {
      {1764, 50, 882}, {8192, 50, 882}, {8192, 25, 1764}, {2048, 50, 882},
      {2048, 25, 1024}, {1000, 50, 500}, {1001, 50, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.block_bytes << " bytes at " << c.frame_rate << " fps");
    fake_dsp_reset(c.block_bytes);
    XSnd* s = xsnd_open("/dev/dsp", 50);
    ASSERT_NE(s, nullptr);
    xsnd_set_frame_rate(s, c.frame_rate);
    EXPECT_EQ(s->block_samples, c.block_bytes / 2);
    Sample* buffer = keep(make_sample(160000, ramp_value));
    list_push(s->pending, buffer);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(xsnd_play(s), 1);
    ASSERT_EQ(dsp.write_bytes.size(), 3u);
    for (std::size_t bytes : dsp.write_bytes) EXPECT_EQ(bytes, 2 * c.samples);
    EXPECT_EQ(s->position, int32_t(3 * c.samples));
    EXPECT_EQ(s->written, int32_t(3 * c.samples));
    xsnd_free(&s);
  }
}

// A device that takes the fragment request (as the ALSA emulation does: it answers 8192 bytes
// without one) still gets one whole frame per write at either frame rate, so it never runs dry.
TEST_F(XsndTest, FragmentRequestHoldsAFrameAtBothRates) {
  fake_dsp_reset(8192);
  dsp.honour_fragment = true;
  ASSERT_NE(open_stream(), nullptr);
  EXPECT_EQ(x->block_size, 4096);
  Sample* buffer = keep(make_sample(160000, ramp_value));
  list_push(x->pending, buffer);
  xsnd_play(x);
  xsnd_set_frame_rate(x, 25);
  xsnd_play(x);
  xsnd_play(x);
  const std::vector<std::size_t> expected = {2 * 882, 2 * 1764, 2 * 1764};
  EXPECT_EQ(dsp.write_bytes, expected);
  EXPECT_EQ(x->position, 882 + 1764 + 1764);
  const std::vector<int16_t> got = fake_dsp_samples();
  ASSERT_EQ(got.size(), 4410u);
  EXPECT_EQ(got[881], -23833);   // 881 * 7 - 30000
  EXPECT_EQ(got[882], -23826);
  EXPECT_EQ(got[2645], -11485);
  EXPECT_EQ(got[4409], 863);
}

TEST_F(XsndTest, FrameRateChangesTakeEffectOnTheNextWrite) {
  fake_dsp_reset(8192);
  ASSERT_NE(open_stream(), nullptr);
  Sample* buffer = keep(make_sample(160000, ramp_value));
  list_push(x->pending, buffer);
  xsnd_play(x);
  xsnd_set_frame_rate(x, 25);
  xsnd_play(x);
  // Out-of-range rates are refused and keep the last good one.
  for (int32_t bad : {0, -50, 44101}) xsnd_set_frame_rate(x, bad);
  EXPECT_EQ(x->frame_rate, 25);
  xsnd_set_frame_rate(x, 50);
  xsnd_play(x);
  const std::vector<std::size_t> expected = {1764, 3528, 1764};
  EXPECT_EQ(dsp.write_bytes, expected);
  EXPECT_EQ(x->position, 882 + 1764 + 882);
  // The writes continue the buffer without a gap.
  const std::vector<int16_t> got = fake_dsp_samples();
  ASSERT_EQ(got.size(), 3528u);
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], int16_t(ramp_value(int32_t(i)))) << i;
  // A bad frame rate given to the constructor falls back to 50.
  XSnd* other = xsnd_open("/dev/dsp", 0);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->frame_rate, 50);
  xsnd_free(&other);
}

// 2048-sample blocks over a 160000-sample buffer: 78 whole blocks, then the 256-sample tail
// removes the entry and the next entry starts at 0.
TEST_F(XsndTest, QueueEntryEndsWithItsTail) {
  fake_dsp_reset(4096);
  ASSERT_NE(open_stream(20), nullptr);   // 2205 samples a frame: the block is the limit
  Sample* a = keep(make_sample(160000, ramp_value));
  Sample* b = keep(make_sample(3000, [](int32_t i) { return -i; }));
  list_push(x->pending, a);
  list_push(x->pending, b);
  for (int i = 0; i < 78; ++i) ASSERT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(x->position, 159744);
  EXPECT_EQ(x->pending->count, 2);
  EXPECT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(x->current, a);
  EXPECT_EQ(x->position, 0);
  EXPECT_EQ(x->pending->count, 1);
  EXPECT_EQ(dsp.write_bytes.back(), 512u);
  EXPECT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(x->current, b);
  EXPECT_EQ(x->position, 2048);
  EXPECT_EQ(xsnd_play(x), 0);   // b's tail of 952 samples empties the queue
  EXPECT_EQ(dsp.write_bytes.back(), 2u * 952);
  EXPECT_EQ(x->pending->count, 0);
  EXPECT_EQ(xsnd_play(x), 0);   // an empty queue writes nothing
  EXPECT_EQ(dsp.write_bytes.size(), 81u);

  // Every sample of both buffers went out once, in order.
  const std::vector<int16_t> got = fake_dsp_samples();
  ASSERT_EQ(got.size(), 163000u);
  for (int32_t i = 0; i < 160000; ++i) ASSERT_EQ(got[size_t(i)], int16_t(ramp_value(i))) << i;
  for (int32_t i = 0; i < 3000; ++i) ASSERT_EQ(got[size_t(160000 + i)], int16_t(-i)) << i;
  EXPECT_EQ(x->written, 163000);
}

TEST_F(XsndTest, EntryEndingOnABlockBoundaryLeavesWithAnEmptyWrite) {
  ASSERT_NE(open_stream(), nullptr);
  Sample* a = keep(make_sample(1764, ramp_value));
  list_push(x->pending, a);
  list_push(x->pending, a);   // the same buffer twice plays twice
  EXPECT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(x->pending->count, 2);
  EXPECT_EQ(xsnd_play(x), 1);
  EXPECT_EQ(x->pending->count, 1);
  EXPECT_EQ(dsp.write_bytes.back(), 0u);
  xsnd_play(x);
  xsnd_play(x);
  EXPECT_EQ(xsnd_play(x), 0);
  const std::vector<std::size_t> expected = {1764, 1764, 0, 1764, 1764, 0};
  EXPECT_EQ(dsp.write_bytes, expected);
  EXPECT_EQ(fake_dsp_samples().size(), 2u * 1764);
}

// Each 32-bit value goes out as its low-order half word, little-endian, no clipping.
TEST_F(XsndTest, SendsLowHalfWordLittleEndian) {
  ASSERT_NE(open_stream(), nullptr);
  const int32_t values[] = {0, 1, -1, 32767, 32768, 65536, -32768, -32769, 0x12345678, INT32_MIN};
  const unsigned char bytes[] = {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x00,
                                 0x80, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x7F, 0x78, 0x56,
                                 0x00, 0x00};
  Sample* s = keep(sample_new());
  sample_set_length(s, 10);
  std::memcpy(s->data, values, sizeof(values));
  list_push(x->pending, s);
  EXPECT_EQ(xsnd_play(x), 0);
  ASSERT_EQ(dsp.stream.size(), sizeof(bytes));
  EXPECT_EQ(std::memcmp(dsp.stream.data(), bytes, sizeof(bytes)), 0);
  const std::vector<int16_t> expected = {0, 1, -1, 32767, -32768, 0, -32768, 32767, 0x5678, 0};
  EXPECT_EQ(fake_dsp_samples(), expected);
}

// A full device takes part of a block or none of it; the rest is dropped and play goes on.
TEST_F(XsndTest, ShortAndRefusedWritesDropTheRest) {
  ASSERT_NE(open_stream(), nullptr);
  Sample* a = keep(make_sample(10000, ramp_value));
  list_push(x->pending, a);
  dsp.accept = 101;
  xsnd_play(x);
  EXPECT_EQ(x->written, 50);
  EXPECT_EQ(x->position, 882);
  dsp.accept = 0;
  xsnd_play(x);
  EXPECT_EQ(x->written, 50);
  EXPECT_EQ(x->position, 1764);
  dsp.accept = -1;
  xsnd_play(x);
  EXPECT_EQ(x->written, 50 + 882);
  const std::vector<int16_t> got = fake_dsp_samples();
  ASSERT_EQ(got.size(), 50u + 882u);
  EXPECT_EQ(got[49], int16_t(ramp_value(49)));
  EXPECT_EQ(got[50], int16_t(ramp_value(1764)));
}

TEST_F(XsndTest, BadArgumentsAndMissingQueue) {
  EXPECT_EQ(xsnd_play(nullptr), 0);
  xsnd_set_frame_rate(nullptr, 25);
  XSnd* none = nullptr;
  xsnd_free(&none);
  xsnd_free(nullptr);
  EXPECT_EQ(xsnd_chunk_samples(nullptr), 0);

  ASSERT_NE(open_stream(), nullptr);
  EXPECT_EQ(xsnd_play(x), 0);   // empty queue
  list_free(&x->pending);
  EXPECT_EQ(xsnd_play(x), 0);   // the queue is made again
  ASSERT_NE(x->pending, nullptr);
  list_push(x->pending, nullptr);
  EXPECT_EQ(xsnd_play(x), 0);
  EXPECT_EQ(x->current, nullptr);
  EXPECT_TRUE(dsp.write_bytes.empty());
  XSnd* pathless = xsnd_open(nullptr, 50);
  ASSERT_NE(pathless, nullptr);
  EXPECT_EQ(pathless->device, nullptr);
  EXPECT_EQ(pathless->block_samples, 0);
  xsnd_free(&pathless);
}

TEST_F(XsndTest, FreeClosesTheDeviceAndLeavesTheBuffers) {
  ASSERT_NE(open_stream(), nullptr);
  Sample* a = keep(make_sample(2000, ramp_value));
  list_push(x->pending, a);
  xsnd_play(x);
  xsnd_free(&x);
  EXPECT_EQ(x, nullptr);
  const std::vector<int> expected = {kFd};
  EXPECT_EQ(dsp.closes, expected);
  EXPECT_FALSE(dsp.open);
  EXPECT_EQ(a->length, 2000);
  EXPECT_EQ(a->data[1999], ramp_value(1999));
}

}  // namespace
