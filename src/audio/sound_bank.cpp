#include "audio/sound_bank.h"

#include <samplerate.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "audio/play_events.h"
#include "model/chart_file_lookup.h"
#include "model/text_codec.h"

namespace beatloom {

namespace {

// Longer sounds are refused rather than filling the memory: an hour of stereo
// at the output rate is far beyond any chart's background music.
constexpr int64_t kMaxSeconds = 60 * 60;
constexpr sf_count_t kReadFrames = 4096;

bool Resample(std::vector<float>& stereo, int from, int to, std::string& problem) {
  if (from == to || stereo.empty()) return true;
  const double ratio = static_cast<double>(to) / from;
  const long inFrames = static_cast<long>(stereo.size() / 2);
  std::vector<float> out(static_cast<size_t>(std::ceil(inFrames * ratio) + 16) * 2);
  SRC_DATA data{};
  data.data_in = stereo.data();
  data.input_frames = inFrames;
  data.data_out = out.data();
  data.output_frames = static_cast<long>(out.size() / 2);
  data.src_ratio = ratio;
  data.end_of_input = 1;
  const int error = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 2);
  if (error != 0) {
    problem = src_strerror(error);
    return false;
  }
  out.resize(static_cast<size_t>(data.output_frames_gen) * 2);
  stereo = std::move(out);
  return true;
}

}  // namespace

bool DecodeSoundFile(const std::string& path, int rate, DecodedSound& out, std::string& problem) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    problem = sf_strerror(nullptr);
    return false;
  }
  if (info.channels <= 0 || info.samplerate <= 0) {
    sf_close(file);
    problem = "no sound in the file";
    return false;
  }
  const size_t channels = static_cast<size_t>(info.channels);
  const int64_t maxFrames = kMaxSeconds * info.samplerate;
  std::vector<float> block(static_cast<size_t>(kReadFrames) * channels);
  std::vector<float> stereo;
  if (info.frames > 0 && info.frames < maxFrames) stereo.reserve(static_cast<size_t>(info.frames) * 2);
  // Compressed files may say their length only roughly: read to the end.
  for (;;) {
    const sf_count_t got = sf_readf_float(file, block.data(), kReadFrames);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f) {
      const float* frame = block.data() + static_cast<size_t>(f) * channels;
      stereo.push_back(frame[0]);
      stereo.push_back(channels > 1 ? frame[1] : frame[0]);
    }
    if (static_cast<int64_t>(stereo.size() / 2) > maxFrames) {
      sf_close(file);
      problem = "longer than an hour";
      return false;
    }
  }
  const int error = sf_error(file);
  sf_close(file);
  if (error != SF_ERR_NO_ERROR) {
    problem = sf_error_number(error);
    return false;
  }
  if (!Resample(stereo, info.samplerate, rate, problem)) return false;
  out.samples = std::move(stereo);
  return true;
}

std::vector<SoundSource> FindChartSounds(const Document& doc, const std::string& chartFolder) {
  std::vector<bool> used(doc.wav.size());
  for (const TBmsObject& o : doc.ObjList)
    if (SoundsInPlay(o) && o.Value < used.size()) used[o.Value] = true;
  std::vector<SoundSource> sources;
  for (size_t index = 0; index < used.size(); ++index) {
    if (used[index] && !doc.wav[index].empty())
      sources.push_back(FindChartSound(doc, chartFolder, static_cast<int>(index)));
  }
  return sources;
}

SoundSource FindChartSound(const Document& doc, const std::string& chartFolder, int index) {
  // File names on this system are UTF-8, whatever encoding the chart uses.
  std::string name = ToUtf8(doc.wav[static_cast<size_t>(index)], doc.encoding);
  std::string path = ResolveChartSound(chartFolder, name);
  return {index, std::move(name), std::move(path)};
}

SoundBank::FileStamp SoundBank::StampOf(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {};
  return {static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, static_cast<int64_t>(st.st_size)};
}

size_t SoundBank::ToDecode(const std::vector<SoundSource>& sources) const {
  std::set<std::string> paths;
  for (const SoundSource& s : sources) {
    if (s.path.empty()) continue;
    const auto it = cache_.find(s.path);
    if (it == cache_.end() || !(it->second.stamp == StampOf(s.path))) paths.insert(s.path);
  }
  return paths.size();
}

std::vector<std::shared_ptr<const DecodedSound>> SoundBank::Load(const std::vector<SoundSource>& sources,
                                                                 std::vector<std::string>& problems,
                                                                 std::atomic<size_t>* done, unsigned threads) {
  // The files to decode, each once however many definitions name it.
  struct Job {
    std::string path;
    FileStamp stamp;
    Entry entry;
  };
  std::vector<Job> jobs;
  std::set<std::string> queued;
  for (const SoundSource& s : sources) {
    if (s.path.empty() || queued.count(s.path)) continue;
    const FileStamp stamp = StampOf(s.path);
    const auto it = cache_.find(s.path);
    if (it != cache_.end() && it->second.stamp == stamp) continue;
    queued.insert(s.path);
    jobs.push_back({s.path, stamp, {}});
  }
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t k = next++; k < jobs.size(); k = next++) {
      auto sound = std::make_shared<DecodedSound>();
      if (DecodeSoundFile(jobs[k].path, rate_, *sound, jobs[k].entry.problem)) jobs[k].entry.sound = std::move(sound);
      if (done) ++*done;
    }
  };
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = std::min<unsigned>(threads, static_cast<unsigned>(jobs.size()));
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& w : workers) w.join();
  for (Job& job : jobs) {
    job.entry.stamp = job.stamp;
    cache_[job.path] = std::move(job.entry);
  }

  std::vector<std::shared_ptr<const DecodedSound>> sounds;
  sounds.reserve(sources.size());
  for (const SoundSource& s : sources) {
    const auto it = s.path.empty() ? cache_.end() : cache_.find(s.path);
    const std::string problem = s.path.empty() ? "file not found" : it->second.problem;
    sounds.push_back(it == cache_.end() ? nullptr : it->second.sound);
    if (sounds.back()) {
      reported_.erase(s.name);
    } else if (reported_.insert(s.name).second) {
      problems.push_back(s.name + " (" + problem + ")");
    }
  }
  return sounds;
}

}  // namespace beatloom
