// The mix against sample positions counted by hand: at #BPM 120 and 44100 Hz
// a 4/4 measure lasts 2 s = 88200 frames. Sounds are written by the tests
// with libsndfile.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/chart_render.h"
#include "bms/bms_reader.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

constexpr int kRate = 44100;

void WriteSound(const std::string& path, int format, int rate, const std::vector<float>& mono) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 1;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  sf_writef_float(f, mono.data(), static_cast<sf_count_t>(mono.size()));
  sf_close(f);
}

struct Rendered {
  std::vector<float> left;
  std::vector<std::string> problems;
};

Rendered Render(const test::TempDir& dir, const std::vector<std::string>& lines, PlayRange range = {}) {
  std::string text = "#WAV01 click.wav\r\n#WAV02 missing.wav\r\n";
  for (const std::string& l : lines) text += l + "\r\n";
  Document doc;
  Log log;
  LoadBmsBytes(doc, text, "chart", log);
  SoundBank bank(kRate);
  Rendered r;
  const std::vector<float> stereo = RenderProgram(MakeMixProgram(doc, dir.path(), range, bank, r.problems), kRate);
  for (size_t k = 0; k < stereo.size(); k += 2) r.left.push_back(stereo[k]);
  return r;
}

std::vector<std::pair<long, float>> Clicks(const std::vector<float>& left) {
  std::vector<std::pair<long, float>> clicks;
  for (size_t k = 0; k < left.size(); ++k)
    if (left[k] != 0.0f) clicks.emplace_back(static_cast<long>(k), left[k]);
  return clicks;
}

TEST(Mix, ClicksFallOnTheirHandCountedFrames) {
  test::TempDir dir;
  WriteSound(dir.file("click.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate, {0.5f, 0, 0});
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    PlayRange range;
    std::vector<std::pair<long, float>> clicks;
  } cases[] = {
      {"120 BPM, tick 96 of measure 1; one definition twice on a frame is heard once",
       {"#BPM 120", "#00111:0001", "#00121:01", "#00101:01"},
       {},
       {{88200, 0.5f}, {88200 + 44100, 0.5f}}},
      {"tempo 240 from measure 1", {"#BPM 120", "#00103:F0", "#00211:01"}, {}, {{132300, 0.5f}}},
      {"a stop of half a measure on measure 1",
       {"#BPM 120", "#STOP01 96", "#00109:01", "#00111:01", "#00211:01"},
       {},
       {{88200, 0.5f}, {220500, 0.5f}}},
      {"measure 0 in 3/4", {"#BPM 120", "#00002:0.75", "#00111:01"}, {}, {{66150, 0.5f}}},
      {"from measure 5: an earlier note is not heard",
       {"#BPM 120", "#00111:01", "#00611:01"},
       {5, -1},
       {{88200, 0.5f}}},
      {"up to measure 1: measure 2 is not heard", {"#BPM 120", "#00111:01", "#00211:01"}, {0, 1}, {{88200, 0.5f}}},
      {"hidden notes and images are silent", {"#BPM 120", "#00131:01", "#00104:01", "#00111:01"}, {}, {{88200, 0.5f}}},
      {"#VOLWAV 50 halves every sound", {"#BPM 120", "#VOLWAV 50", "#00111:01"}, {}, {{88200, 0.25f}}},
      {"long notes sound at their start only, in both forms",
       {"#BPM 120", "#WAV03 click.wav", "#LNOBJ 03", "#00151:0101", "#00212:0103"},
       {},
       {{88200, 0.5f}, {176400, 0.5f}}},
      {"a fifth of a measure (38.4 ticks) sounds at its exact time",
       {"#BPM 120", "#00111:0001000000"},
       {},
       {{105840, 0.5f}}},
  };
  for (const Case& c : cases) {
    const Rendered r = Render(dir, c.lines, c.range);
    EXPECT_EQ(Clicks(r.left), c.clicks) << c.name;
  }
}

TEST(Mix, ASoundStartedAgainCutsItsEarlierPlaying) {
  test::TempDir dir;
  WriteSound(dir.file("click.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate, std::vector<float>(kRate, 0.25f));
  // Definition 01 at 0 s and 0.5 s (tick 48): heard once at a time, so the
  // level stays 0.25 and the sound ends 1 s after its second start.
  const Rendered r = Render(dir, {"#BPM 120", "#00011:01010000"});
  ASSERT_EQ(r.left.size(), static_cast<size_t>(kRate + kRate / 2));
  for (const float s : r.left) ASSERT_EQ(s, 0.25f);
}

TEST(Mix, AMissingSoundIsSilentAndNamedOnce) {
  test::TempDir dir;
  WriteSound(dir.file("click.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate, {0.5f});
  const Rendered r = Render(dir, {"#BPM 120", "#00111:0201"});
  EXPECT_EQ(Clicks(r.left), (std::vector<std::pair<long, float>>{{88200 + 44100, 0.5f}}));
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_NE(r.problems[0].find("missing.wav"), std::string::npos);

  SoundBank bank(kRate);
  const std::vector<SoundSource> sources = {{2, "missing.wav", ""}};
  std::vector<std::string> problems;
  bank.Load(sources, problems);
  bank.Load(sources, problems);
  EXPECT_EQ(problems.size(), 1u);
}

// Two sounds of 0.75 together would reach 1.5: the limiter brings the peak to
// full scale and lowers both channels alike; a note heard alone plays beside
// the chart and is not cut when the chart stops.
TEST(Mixer, LimitsPeaksAndPlaysPreviewsBesideTheChart) {
  auto loud = std::make_shared<DecodedSound>();
  loud->samples.assign(8, 0.75f);
  auto program = std::make_shared<MixProgram>();
  program->sounds = {nullptr, loud, loud};
  program->events = {{0, 1, 1.0f}, {2, 2, 1.0f}};
  Mixer mixer(kRate, 3);
  mixer.Start(program);
  std::vector<float> out(12);
  mixer.Render(out.data(), 6);
  EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 4), std::vector<float>(4, 0.75f));
  EXPECT_EQ(out[4], 1.0f);
  for (const float s : out) EXPECT_LE(s, 1.0f);
  EXPECT_EQ(out[6], out[7]);

  Mixer alone(kRate, 3);
  alone.Preview(loud, 0.5f);
  alone.Start(program);
  alone.Stop();
  alone.Render(out.data(), 6);
  EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 8), std::vector<float>(8, 0.375f));
  EXPECT_EQ(out[8], 0.0f);
}

TEST(Decode, OggAndFlacAreReadAndBroughtToTheOutputRate) {
  test::TempDir dir;
  std::vector<float> sine(22050);
  for (size_t k = 0; k < sine.size(); ++k) sine[k] = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * k / 22050));
  WriteSound(dir.file("a.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, sine);
  WriteSound(dir.file("b.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 22050, sine);
  for (const char* name : {"a.ogg", "b.flac"}) {
    DecodedSound sound;
    std::string problem;
    ASSERT_TRUE(DecodeSoundFile(dir.file(name), kRate, sound, problem)) << name << ": " << problem;
    EXPECT_NEAR(static_cast<double>(sound.FrameCount()), 44100.0, 64) << name;
    double energy = 0;
    for (size_t k = 0; k < sound.FrameCount(); ++k) energy += sound.samples[2 * k] * sound.samples[2 * k];
    // A sine of amplitude 0.5 has an RMS of 0.354, on both channels.
    EXPECT_NEAR(std::sqrt(energy / sound.FrameCount()), 0.354, 0.02) << name;
    EXPECT_EQ(sound.samples[2000], sound.samples[2001]) << name;
  }
}

TEST(Bank, ReloadsAFileOnlyWhenItChanged) {
  test::TempDir dir;
  WriteSound(dir.file("s.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate, {0.5f});
  SoundBank bank(kRate);
  const std::vector<SoundSource> sources = {{1, "s.wav", dir.file("s.wav")}};
  std::vector<std::string> problems;
  const auto first = bank.Load(sources, problems);
  EXPECT_TRUE(bank.Holds(sources));
  EXPECT_EQ(bank.Load(sources, problems)[0], first[0]);
  WriteSound(dir.file("s.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, kRate, {0.5f, 0.25f});
  EXPECT_FALSE(bank.Holds(sources));
  EXPECT_EQ(bank.Load(sources, problems)[0]->FrameCount(), 2u);
}

}  // namespace
}  // namespace beatloom
