// The registry on POSIX: one per-user REGEDIT4 file, read afresh on every call. The
// options page and the add-in run in different processes, so every change is a locked
// read-modify-write that replaces the file atomically; readers rely on the rename and never
// see half a file.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "library/registry/RegistryAPI.h"
#include "library/registry/RegistryStore.h"
#include "library/registry/filestore/RegFile.h"

namespace falcrest::registry {

namespace {

using filestore::RegFile;

[[noreturn]] void Raise(const std::string& description) {
  throw Error(kRegistryErrorNumber, kRegistryErrorSource, description);
}

std::string Reason(int err) { return std::strerror(err); }

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }
  int Get() const { return fd_; }
  // Closes now, giving close's error number (0 when it went well).
  int Reset() {
    int err = 0;
    if (fd_ >= 0 && ::close(fd_) != 0) err = errno;
    fd_ = -1;
    return err;
  }

 private:
  int fd_;
};

// $FALCREST_REGISTRY, else ${XDG_CONFIG_HOME:-~/.config}/tarvanel/registry.reg.
std::string RegistryPath() {
  const char* explicit_path = std::getenv("FALCREST_REGISTRY");
  if (explicit_path && *explicit_path) return explicit_path;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* user = ::getpwuid(::getuid());
      home = user ? user->pw_dir : "";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/tarvanel/registry.reg";
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file's bytes; nullopt with `err` set when it exists but cannot be read. A missing
// file reads as empty.
std::optional<std::string> ReadAll(const std::string& path, int& err) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    err = errno;
    if (err == ENOENT) return std::string();
    return std::nullopt;
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) return text;
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return std::nullopt;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
}

// Creates the folder and its parents, private to the user.
void MakeFolders(const std::string& folder, const std::string& file) {
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = folder.find('/', pos + 1);
    std::string part = folder.substr(0, pos);
    if (part.empty() || ::mkdir(part.c_str(), 0700) == 0 || errno == EEXIST) continue;
    Raise("Cannot create the folder " + part + " for the registry file " + file + ": " + Reason(errno));
  }
}

// Holds an exclusive lock on the file beside the registry for one read-modify-write.
class WriteLock {
 public:
  explicit WriteLock(const std::string& file) : fd_(::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_.Get() < 0) Raise("Cannot create the lock file " + file + ".lock of the registry: " + Reason(errno));
    while (::flock(fd_.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) Raise("Cannot lock the registry file " + file + ": " + Reason(errno));
    }
  }  // closing the descriptor releases the lock

 private:
  UniqueFd fd_;
};

// Writes every byte; the error number of a failed write, or 0.
int WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Replaces the file with `text`: a temporary file in the same folder, flushed to disk, then
// renamed over it, and the folder flushed so that the rename survives a crash.
void ReplaceFile(const std::string& path, const std::string& text) {
  std::string temp = path + ".XXXXXX";
  UniqueFd fd(::mkostemp(&temp[0], O_CLOEXEC));
  if (fd.Get() < 0) Raise("Cannot write the registry file " + path + ": " + Reason(errno));
  int err = WriteAll(fd.Get(), text);
  if (err == 0 && ::fsync(fd.Get()) != 0) err = errno;
  if (err == 0) err = fd.Reset();
  if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    Raise("Cannot write the registry file " + path + ": " + Reason(err));
  }
  UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());  // some file systems cannot; the data is written
}

// Removes the temporary files of writers that died before their rename. Only called under
// the write lock: no live writer has a temporary file then, so every one found is litter.
void RemoveDeadWritersFiles(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.find_last_of('/') + 1) + ".";
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    // mkostemp's form: the file's name, a dot, six characters.
    if (name.size() == base.size() + 6 && name.compare(0, base.size(), base) == 0) {
      ::unlink((folder + "/" + name).c_str());
    }
  }
  ::closedir(dir);
}

// The key's path as the file names it: the root's name, then the components of `path`.
std::optional<std::vector<std::string>> KeyPath(uint32_t root, const std::string& path) {
  std::string root_name = filestore::RootName(root);
  if (root_name.empty()) return std::nullopt;
  std::vector<std::string> parts{root_name};
  size_t start = 0;
  for (;;) {
    size_t slash = path.find('\\', start);
    std::string part = path.substr(start, slash - start);
    if (!part.empty()) parts.push_back(part);
    if (slash == std::string::npos) return parts;
    start = slash + 1;
  }
}

RegFile ReadForLookup() {
  int err = 0;
  std::optional<std::string> text = ReadAll(RegistryPath(), err);
  return RegFile::Parse(text ? *text : std::string());
}

// One locked read-modify-write of the file.
template <typename Change>
void Modify(Change change) {
  const std::string path = RegistryPath();
  MakeFolders(FolderOf(path), path);
  WriteLock lock(path);
  RemoveDeadWritersFiles(path);
  int err = 0;
  std::optional<std::string> text = ReadAll(path, err);
  if (!text) Raise("Cannot read the registry file " + path + " before changing it: " + Reason(err));
  RegFile file = RegFile::Parse(*text);
  change(file);
  ReplaceFile(path, file.Format());
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

class FileStore : public Store {
 public:
  bool KeyExists(uint32_t root, const std::string& path) override {
    std::optional<std::vector<std::string>> key = KeyPath(root, path);
    if (!key) return false;
    return key->size() == 1 || ReadForLookup().KeyExists(*key);
  }

  bool QueryValue(uint32_t root, const std::string& path, const std::string& name, Value& out) override {
    std::optional<std::vector<std::string>> key = KeyPath(root, path);
    if (!key) return false;
    RegFile file = ReadForLookup();
    const Value* value = file.Find(*key, name);
    if (!value) return false;
    out = *value;
    return true;
  }

  void SetValue(uint32_t root, const std::string& path, const std::string& name, const Value& value) override {
    std::optional<std::vector<std::string>> key = KeyPath(root, path);
    char root_text[16];
    std::snprintf(root_text, sizeof root_text, "0x%08X", static_cast<unsigned>(root));
    if (!key)
      Raise("Cannot write the registry value \"" + name + "\" of key \"" + path + "\": " + root_text +
            " is not a registry root key");
    if (HasLineBreak(path) || HasLineBreak(name))
      Raise("Cannot write the registry value \"" + name + "\" of key \"" + path +
            "\": a key or value name cannot hold a line break");
    Modify([&](RegFile& file) { file.Set(*key, name, value); });
  }

  std::vector<std::string> SubKeys(uint32_t root, const std::string& path) override {
    std::optional<std::vector<std::string>> key = KeyPath(root, path);
    if (!key) return {};
    return ReadForLookup().SubKeys(*key);
  }

  void DeleteKey(uint32_t root, const std::string& path) override {
    std::optional<std::vector<std::string>> key = KeyPath(root, path);
    if (!key || key->size() == 1 || !ReadForLookup().KeyExists(*key)) return;  // roots stay
    Modify([&](RegFile& file) { file.Delete(*key); });
  }
};

}  // namespace

Store& DefaultStore() {
  static FileStore store;
  return store;
}

}  // namespace falcrest::registry
