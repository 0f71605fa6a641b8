// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_stamp.h"

#include <algorithm>
#include <cstring>
#include <exception>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "platform/native_path.h"
#else
#include <sys/stat.h>
#include <time.h>
#endif

namespace jukora {

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
// File systems that keep whole seconds (FAT keeps even ones).
constexpr std::int64_t kCoarseTick = 2 * kSecond;

#ifdef _WIN32

// FILETIME counts 100 ns from 1601.
std::int64_t nanoseconds(const FILETIME& time) {
  return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) * 100;
}

std::int64_t clock_now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return nanoseconds(now);
}

// NTFS may write a file's time late, at the close of a handle: a second
// covers that.
std::int64_t clock_tick() { return kSecond; }

FileStamp stamp_of_handle(HANDLE handle) {
  FileStamp stamp;
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return stamp;
  stamp.exists = true;
  stamp.device = info.dwVolumeSerialNumber;
  stamp.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  stamp.modified = nanoseconds(info.ftLastWriteTime);
  return stamp;
}

#else

// The coarse clock is the one the kernel stamps files with.
#ifdef CLOCK_REALTIME_COARSE
constexpr clockid_t kFileClock = CLOCK_REALTIME_COARSE;
#else
constexpr clockid_t kFileClock = CLOCK_REALTIME;
#endif

std::int64_t nanoseconds(const timespec& time) { return std::int64_t{time.tv_sec} * kSecond + time.tv_nsec; }

std::int64_t clock_now() {
  timespec now{};
  clock_gettime(kFileClock, &now);
  return nanoseconds(now);
}

std::int64_t clock_tick() {
  timespec resolution{};
  if (clock_getres(kFileClock, &resolution) != 0) return kSecond / 100;
  return std::max<std::int64_t>(nanoseconds(resolution), 1);
}

FileStamp stamp_of_stat(const struct stat& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.index = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified = nanoseconds(info.st_mtim);
  return stamp;
}

#endif

FileStamp observed(FileStamp stamp) {
  stamp.may_repeat = stamp.exists && may_still_repeat(stamp);
  return stamp;
}

}  // namespace

bool may_still_repeat(const FileStamp& stamp) {
  const std::int64_t tick = stamp.modified % kSecond == 0 ? kCoarseTick : clock_tick();
  return clock_now() < stamp.modified + tick;
}

bool modified_within(const FileStamp& stamp, std::int64_t nanoseconds) {
  return clock_now() - stamp.modified < nanoseconds;
}

#ifdef _WIN32

FileStamp stamp_of_fd(int fd) { return observed(stamp_of_handle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)))); }

FileStamp stamp_of_path(const std::string& path) {
  HANDLE file = INVALID_HANDLE_VALUE;
  try {
    file = CreateFileW(native_path(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  } catch (const std::exception&) {
    return {};
  }
  FileStamp stamp = stamp_of_handle(file);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return observed(stamp);
}

#else

FileStamp stamp_of_fd(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 ? observed(stamp_of_stat(info)) : FileStamp{};
}

FileStamp stamp_of_path(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? observed(stamp_of_stat(info)) : FileStamp{};
}

#endif

namespace {

std::uint64_t rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

std::uint64_t word(const unsigned char* data) {
  std::uint64_t w = 0;
  std::memcpy(&w, data, sizeof w);
  return w;
}

}  // namespace

// Four independent lanes of 8 bytes each, so a block costs about a cycle a
// word on today's processors.
void ContentHash::block(const unsigned char* data) {
  constexpr std::uint64_t kPrime = 0x9E3779B185EBCA87ULL;
  for (int lane = 0; lane < 4; ++lane)
    lanes_[lane] = rotate(lanes_[lane] + word(data + 8 * lane) * kPrime, 31) * 0xC2B2AE3D27D4EB4FULL;
}

void ContentHash::add(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  total_ += size;
  if (tail_size_ > 0) {
    const std::size_t take = std::min(size, sizeof tail_ - tail_size_);
    std::memcpy(tail_ + tail_size_, data, take);
    tail_size_ += take;
    data += take;
    size -= take;
    if (tail_size_ < sizeof tail_) return;
    block(tail_);
    tail_size_ = 0;
  }
  for (; size >= sizeof tail_; data += sizeof tail_, size -= sizeof tail_) block(data);
  if (size > 0) std::memcpy(tail_, data, size);
  tail_size_ = size;
}

std::uint64_t ContentHash::value() const {
  std::uint64_t h = total_;
  for (int lane = 0; lane < 4; ++lane) h = rotate(h ^ lanes_[lane], 27) * 0x9E3779B185EBCA87ULL + lane;
  for (std::size_t i = 0; i < tail_size_; ++i) h = (h ^ tail_[i]) * 0x100000001B3ULL;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  return h;
}

std::uint64_t content_hash(std::string_view bytes) {
  ContentHash hash;
  hash.add(bytes);
  return hash.value();
}

}  // namespace jukora
