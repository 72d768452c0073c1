#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/document.h"

namespace beatloom {

// A sound ready to mix: stereo frames (left, right, left, ...) at the output
// rate, full scale at 1.0.
struct DecodedSound {
  std::vector<float> samples;
  size_t FrameCount() const { return samples.size() / 2; }
};

// Reads a sound file of any kind libsndfile knows (WAV in every PCM and float
// format, OGG Vorbis, FLAC, MP3) and converts it to rate. Mono is heard on
// both sides; of more than two channels the first two are kept. False, with
// the reason, when the file cannot be read.
bool DecodeSoundFile(const std::string& path, int rate, DecodedSound& out, std::string& problem);

// One sound a chart names: its definition index, the name as written (for
// messages, in UTF-8) and the file found for it, empty when none was.
struct SoundSource {
  int index = 0;
  std::string name;
  std::string path;
};

// The sounds the chart's sounding objects name, each looked up as the sound
// preview looks it up (see ResolveChartSound). Runs where the chart lives:
// it reads the document.
std::vector<SoundSource> FindChartSounds(const Document& doc, const std::string& chartFolder);
// The same for one definition.
SoundSource FindChartSound(const Document& doc, const std::string& chartFolder, int index);

// Decoded sounds kept between plays, each reloaded only when its file
// changed (modification time or size). One Load at a time.
class SoundBank {
 public:
  explicit SoundBank(int rate) : rate_(rate) {}
  int Rate() const { return rate_; }

  // How many files Load would decode: those found but not held as they are
  // on disk now.
  size_t ToDecode(const std::vector<SoundSource>& sources) const;
  bool Holds(const std::vector<SoundSource>& sources) const { return ToDecode(sources) == 0; }

  // The sound of every source, null where it is missing or cannot be read;
  // such a sound is named once in problems ("name (reason)") (and again only after it was
  // found and lost anew). Files to decode are shared among threads (every
  // core when threads is 0); done counts the decoded files as they finish and
  // may be read from another thread meanwhile.
  std::vector<std::shared_ptr<const DecodedSound>> Load(const std::vector<SoundSource>& sources,
                                                        std::vector<std::string>& problems,
                                                        std::atomic<size_t>* done = nullptr, unsigned threads = 0);

 private:
  struct FileStamp {
    int64_t mtimeNs = 0;
    int64_t size = -1;
    bool operator==(const FileStamp&) const = default;
  };
  struct Entry {
    FileStamp stamp;
    std::shared_ptr<const DecodedSound> sound;  // null: the file could not be decoded
    std::string problem;
  };
  static FileStamp StampOf(const std::string& path);

  int rate_;
  std::map<std::string, Entry> cache_;
  std::set<std::string> reported_;
};

}  // namespace beatloom
