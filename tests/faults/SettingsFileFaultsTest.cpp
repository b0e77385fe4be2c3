// The settings file when things go wrong: cut short, garbage, missing, unreadable, and a
// writer killed in the middle of a write. The store reads what it can and never raises on
// a read; a kill never leaves a half-written file.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/registry/filestore/RegFile.h"
#include "library/support/Error.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

const char* const kNames[] = {falcrest::kUserIdValue, falcrest::kPasswordValue, falcrest::kWebServiceUrlValue,
                              falcrest::kDeviceValue};
const char* const kValues[] = {"member.one", "ZGVtbw==", "http://127.0.0.1:8080/WebService/OutlookPlugin.asmx",
                               "HomeEmail,SMS"};

falcrest::RegistryClass Settings() {
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  return settings;
}

class SettingsFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "settings-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/registry.reg";
    ::setenv("FALCREST_REGISTRY", path_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string FileText() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteFileText(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }
  // Files in the folder other than the registry file and its lock.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      std::string name = entry.path().filename().string();
      if (name != "registry.reg" && name != "registry.reg.lock") names.push_back(name);
    }
    return names;
  }
  std::string WellFormedFile() {
    falcrest::RegistryClass settings = Settings();
    for (size_t i = 0; i < 4; ++i) settings.SetData(kNames[i], kValues[i]);
    return FileText();
  }

  std::string folder_;
  std::string path_;
};

TEST_F(SettingsFileFaults, FileCutShortAnywhereReadsWholeValuesOrNothing) {
  const std::string whole = WellFormedFile();
  for (size_t length = 0; length < whole.size(); ++length) {
    WriteFileText(whole.substr(0, length));
    falcrest::RegistryClass settings = Settings();
    for (size_t i = 0; i < 4; ++i) {
      const std::string got = settings.GetData(kNames[i]);
      EXPECT_TRUE(got == kValues[i] || got.empty())
          << "cut at " << length << ": " << kNames[i] << " read as \"" << got << "\"";
    }
  }
  // A write after a cut keeps what could be read and makes the file whole again.
  WriteFileText(whole.substr(0, whole.find(falcrest::kDeviceValue) + 3));
  Settings().SetData(falcrest::kDeviceValue, "Fax");
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Settings().GetData(kNames[i]), kValues[i]) << kNames[i];
  EXPECT_EQ(Settings().GetData(falcrest::kDeviceValue), "Fax");
}

TEST_F(SettingsFileFaults, GarbageNeverCrashesAndAWriteRecovers) {
  std::mt19937 random(20240611);
  const std::string whole = WellFormedFile();
  for (int round = 0; round < 200; ++round) {
    std::string text = whole;
    switch (round % 4) {
      case 0:  // random bytes
        text.assign(static_cast<size_t>(random() % 2000), '\0');
        for (char& c : text) c = static_cast<char>(random());
        break;
      case 1:  // the file with bytes flipped
        for (int k = 0; k < 8; ++k) text[random() % text.size()] = static_cast<char>(random());
        break;
      case 2:  // lines shuffled and doubled
        text += text.substr(random() % text.size());
        std::shuffle(text.begin() + static_cast<long>(random() % text.size()), text.end(), random);
        break;
      default:  // binary noise with line breaks and brackets, the characters the format cares about
        text.clear();
        for (int k = 0; k < 500; ++k) text += "[]\"\\=@:,\r\n\0x"[random() % 12];
        break;
    }
    WriteFileText(text);
    falcrest::RegistryClass settings = Settings();
    for (const char* name : kNames) EXPECT_NO_THROW(settings.GetData(name)) << "round " << round;
    EXPECT_NO_THROW(settings.KeyExist()) << "round " << round;
    ASSERT_NO_THROW(settings.SetData(falcrest::kUserIdValue, "after garbage")) << "round " << round;
    EXPECT_EQ(settings.GetData(falcrest::kUserIdValue), "after garbage") << "round " << round;
    const std::string rewritten = FileText();
    EXPECT_EQ(falcrest::registry::filestore::RegFile::Parse(rewritten).Format(), rewritten) << "round " << round;
  }
}

TEST_F(SettingsFileFaults, MissingAndUnreadableFilesReadAsEmpty) {
  // Missing: nothing there, nothing created by reading.
  EXPECT_FALSE(Settings().KeyExist());
  EXPECT_EQ(Settings().GetData(falcrest::kUserIdValue), "");
  EXPECT_FALSE(fs::exists(path_));

  // Unreadable: a folder stands where the file should be (root reads any file, whatever
  // its mode, but no one reads a folder as a file).
  fs::create_directory(path_);
  EXPECT_FALSE(Settings().KeyExist());
  for (const char* name : kNames) EXPECT_EQ(Settings().GetData(name), "") << name;
  try {
    Settings().SetData(falcrest::kUserIdValue, "x");
    ADD_FAILURE() << "a write over an unreadable file raised nothing";
  } catch (const falcrest::Error& e) {
    EXPECT_NE(e.Description().find(path_), std::string::npos) << e.Description();
  }
  EXPECT_TRUE(fs::is_directory(path_));
}

// A child writes UserID = "value-N" for N = 1, 2, ... until it is killed at a random moment.
// Whatever the moment, the file parses whole, holds the untouched values, and holds a
// UserID that some write finished; a temporary file left behind is ignored, and the next
// write clears it away.
TEST_F(SettingsFileFaults, WriterKilledMidWriteLeavesOldOrNewValue) {
  WellFormedFile();
  Settings().SetData(falcrest::kUserIdValue, "value-0");
  std::mt19937 random(7);
  int last_seen = 0;
  for (int round = 0; round < 40; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      falcrest::RegistryClass settings = Settings();
      for (int n = last_seen + 1;; ++n) settings.SetData(falcrest::kUserIdValue, "value-" + std::to_string(n));
    }
    ::usleep(static_cast<useconds_t>(random() % 30000));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": the writer stopped on its own";

    const std::string text = FileText();
    EXPECT_EQ(falcrest::registry::filestore::RegFile::Parse(text).Format(), text) << "round " << round;
    const std::string user = Settings().GetData(falcrest::kUserIdValue);
    ASSERT_EQ(user.rfind("value-", 0), 0u) << "round " << round << ": UserID is \"" << user << "\"";
    const int n = std::stoi(user.substr(6));
    EXPECT_GE(n, last_seen) << "round " << round << ": an older value came back";
    last_seen = n;
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(Settings().GetData(kNames[i]), kValues[i]) << "round " << round;
  }
  // Temporary files a killed writer left are ignored: the next write goes through, takes
  // nothing from them, and removes them.
  const std::vector<std::string> left = Leftovers();
  for (const std::string& name : left) EXPECT_EQ(name.rfind("registry.reg.", 0), 0u) << name;
  std::cout << "temporary files left by killed writers: " << left.size() << "\n";
  Settings().SetData(falcrest::kDeviceValue, "Fax");
  EXPECT_EQ(Settings().GetData(falcrest::kDeviceValue), "Fax");
  EXPECT_EQ(Settings().GetData(falcrest::kUserIdValue), "value-" + std::to_string(last_seen));
  EXPECT_TRUE(Leftovers().empty()) << Leftovers().size() << " temporary files outlived the next write";
}

}  // namespace
}  // namespace faults
