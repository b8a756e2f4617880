#include "drivers/interbase/EmbeddedRoot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool IsDir(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder of ours: made with mode 0700, or already there as a real folder that we own and
// nobody else may write to.
bool OwnFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 022) == 0;
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
  std::string tmp = path + ".XXXXXX";
  const int fd = mkstemp(tmp.data());
  if (fd < 0) return false;
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written || rename(tmp.c_str(), path.c_str()) != 0) {
    unlink(tmp.c_str());
    return false;
  }
  return true;
}
}  // namespace

std::string SharedEmbeddedRootFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/' && IsDir(runtime)) return std::string(runtime) + "/ledgerly-firebird";
  return "/tmp/ledgerly-firebird-" + std::to_string(getuid());
}

std::string SharedEmbeddedConfig(const std::string& systemRoot) {
  return "# Made by the viewer's database driver: the system's settings, with the embedded engine\n"
         "# sharing database files with other processes.\n"
         "include " + systemRoot + "/firebird.conf\n"
         "ServerMode = SuperClassic\n";
}

std::string UseSharedEmbeddedRoot(const std::string& systemRoot) {
  if (const char* set = std::getenv("FIREBIRD"); set && *set) return std::string();
  if (systemRoot.empty() || !IsDir(systemRoot)) return std::string();
  const std::string root = SharedEmbeddedRootFolder();
  if (!OwnFolder(root)) return std::string();
  // Everything of the system's root but its configuration, linked (messages, character sets,
  // plugins with the engine itself).
  DIR* dir = opendir(systemRoot.c_str());
  if (!dir) return std::string();
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == ".." || name == "firebird.conf") continue;
    const std::string target = systemRoot + "/" + name, link = root + "/" + name;
    char current[4096];
    const ssize_t n = readlink(link.c_str(), current, sizeof current);
    if (n >= 0 && std::string(current, static_cast<size_t>(n)) == target) continue;
    if (n >= 0 || errno != ENOENT) unlink(link.c_str());  // a link elsewhere, or not a link
    if (symlink(target.c_str(), link.c_str()) != 0 && errno != EEXIST) {
      closedir(dir);
      return std::string();
    }
  }
  closedir(dir);
  if (!WriteFileAtomically(root + "/firebird.conf", SharedEmbeddedConfig(systemRoot))) return std::string();
  setenv("FIREBIRD", root.c_str(), 0);
  return root;
}
