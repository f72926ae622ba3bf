#include "safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileRead readPlayerFile(const char *path, std::string &bytes, size_t limit) {
  bytes.clear();
  // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::ABSENT : FileRead::UNREADABLE;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return FileRead::UNREADABLE;
  }
  char chunk[4096];
  bool ok = true;
  while (bytes.size() < limit) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    bytes.append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  if (bytes.size() > limit) bytes.resize(limit);
  return ok ? FileRead::READ : FileRead::UNREADABLE;
}

namespace {

bool writeAll(int fd, const std::string &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

} // namespace

bool writePlayerFile(const char *path, const std::string &bytes) {
  // mkstemp opens with O_CREAT | O_EXCL under a fresh name: nothing planted is followed.
  std::string temp = std::string(path) + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  fchmod(fd, 0644); // mkstemp makes it 0600; the file keeps the usual permissions
  bool ok = writeAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), path) == 0) return true;
  unlink(temp.c_str());
  return false;
}
