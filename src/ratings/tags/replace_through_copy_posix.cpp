// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/stale_saves.h"
#include "ratings/tags/replace_through_copy.h"

namespace jukora {

namespace {

using Result = Replaced::Result;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool same_version(const struct stat& a, const struct stat& b) {
  return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool copy_bytes(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!write_all(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return false;
  }
}

// Mode always; owner and extended attributes as far as the user may set
// them (another owner, or a "trusted." attribute, needs privileges the user
// may not have: the copy then keeps the user's, as any editor's save would).
void copy_attributes(int from, int to, const struct stat& song) {
  (void)fchmod(to, song.st_mode & 07777);
  (void)fchown(to, song.st_uid, song.st_gid);
  // A set-id bit that fchown dropped comes back where the owner is kept.
  (void)fchmod(to, song.st_mode & 07777);
  const ssize_t size = flistxattr(from, nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t listed = flistxattr(from, names.data(), names.size());
  for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
    const char* name = names.data() + at;
    const ssize_t length = fgetxattr(from, name, nullptr, 0);
    if (length < 0) continue;
    std::vector<char> value(static_cast<std::size_t>(length));
    if (fgetxattr(from, name, value.data(), value.size()) == length)
      (void)fsetxattr(to, name, value.data(), value.size(), 0);
  }
}

std::string directory_of(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

constexpr std::string_view kCopyPrefix = ".jukora-";
constexpr std::string_view kCopySuffix = ".tmp";
// mkstemps's letters and digits.
constexpr std::size_t kRandomLetters = 6;

bool random_letters(std::string_view text) {
  return text.size() == kRandomLetters &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

}  // namespace

bool is_song_copy_name(std::string_view name) {
  if (!name.starts_with(kCopyPrefix)) return false;
  name.remove_prefix(kCopyPrefix.size());
  if (name.size() < kRandomLetters || !random_letters(name.substr(0, kRandomLetters))) return false;
  name.remove_prefix(kRandomLetters);
  return name == kCopySuffix || (name.size() > 1 && name.front() == '-');
}

Replaced replace_through_copy(const std::string& path, const CopyEdit& edit) {
  Replaced out;
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) {
    out.result = errno == ENOENT || errno == ENOTDIR ? Result::kGone : Result::kFailed;
    out.detail = std::strerror(errno);
    return out;
  }
  out.real_path = resolved;
  const std::string& real = out.real_path;
  Fd song(open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat before {};
  if (song.get() < 0 || fstat(song.get(), &before) != 0) {
    out.result = errno == ENOENT ? Result::kGone : Result::kReadOnly;
    out.detail = std::strerror(errno);
    return out;
  }
  if (!S_ISREG(before.st_mode)) return {Result::kNotAFile, real, {}};
  if (before.st_nlink > 1) return {Result::kHardLinked, real, {}};
  const std::string folder = directory_of(real);
  if (access(real.c_str(), W_OK) != 0 || access(folder.c_str(), W_OK | X_OK) != 0)
    return {Result::kReadOnly, real, std::strerror(errno)};

  remove_stale_temporaries(folder, is_song_copy_name);
  std::string copy = folder + std::string(kCopyPrefix) + std::string(kRandomLetters, 'X') + std::string(kCopySuffix);
  Fd target(mkstemps(copy.data(), static_cast<int>(kCopySuffix.size())));
  if (target.get() < 0) return {Result::kFailed, real, std::strerror(errno)};
  // Tells the removal of leftovers, here or on another machine sharing the
  // folder, that this copy is being written.
  (void)flock(target.get(), LOCK_EX | LOCK_NB);
  auto fail = [&](Result result, std::string detail) {
    unlink(copy.c_str());
    return Replaced{result, real, std::move(detail)};
  };
  if (!copy_bytes(song.get(), target.get()) || fsync(target.get()) != 0)
    return fail(Result::kFailed, std::strerror(errno));
  copy_attributes(song.get(), target.get(), before);
  if (!edit(copy, real)) return fail(Result::kFailed, {});
  if (fsync(target.get()) != 0) return fail(Result::kFailed, std::strerror(errno));

  // Another program that wrote the song meanwhile keeps its change.
  struct stat now {};
  if (stat(real.c_str(), &now) != 0 || !same_version(before, now)) return fail(Result::kBusy, "changed meanwhile");
  if (rename(copy.c_str(), real.c_str()) != 0)
    return fail(errno == EBUSY || errno == ETXTBSY ? Result::kBusy : Result::kFailed, std::strerror(errno));
  Fd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)fsync(dir.get());
  return {Result::kDone, real, {}};
}

}  // namespace jukora
