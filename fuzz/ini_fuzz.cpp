// Feeds arbitrary bytes as the settings file and as the language file. The
// settings read must come back unchanged through a write and another read,
// and a key written into any file must read back as written.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/language_file.h"
#include "app/settings.h"
#include "model/file_io.h"

namespace {

// One scratch file per fuzzing process, in memory where the system has such
// a folder: every settings key is a whole atomic write of the file.
const std::string& ScratchFile() {
  static const std::string path = [] {
    std::string name = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    name += "/beatloom-ini-fuzz-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return name;
  }();
  static const bool removedAtExit = std::atexit([] { ::unlink(ScratchFile().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

void Put(std::string_view bytes) {
  if (!beatloom::WriteFileAtomically(ScratchFile(), bytes, nullptr)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace beatloom;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  Put(bytes);
  IniFile ini(ScratchFile());
  const Settings read = ReadSettings(ini, Settings{});
  const UserDefaults user = ReadUserDefaults(ini);
  WriteSettings(ini, read);
  Settings again = ReadSettings(ini, Settings{});
  // The write always stores the window's place and size, which the file may
  // have lacked.
  again.WindowPositionStored = read.WindowPositionStored;
  again.WindowSizeStored = read.WindowSizeStored;
  if (again != read) std::abort();
  const UserDefaults userAgain = ReadUserDefaults(ini);
  if (userAgain.email != user.email || userAgain.url != user.url) std::abort();

  Put(bytes);
  const LanguageTexts texts(ScratchFile());
  (void)texts.Text("Main", "K1", TextKind::Caption);
  (void)texts.QtTranslation();
  LanguageTemplate keys;
  keys.Add("Main", "K1", TextKind::Caption, "File(&F)");
  keys.Add("Form7", "Edit5", TextKind::Hint, "Index");
  if (!keys.Write(ScratchFile(), "qtbase_ja")) std::abort();
  const LanguageTexts written(ScratchFile());
  if (written.Text("main", "k1", TextKind::Caption) != "File(&F)" ||
      written.Text("FORM7", "EDIT5", TextKind::Hint) != "Index")
    std::abort();
  return 0;
}
