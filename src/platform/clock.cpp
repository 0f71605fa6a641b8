// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace jukora {

namespace {

std::tm local_now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

}  // namespace

DateTime SystemClock::now() {
  std::tm tm = local_now();
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void SystemClock::reseed() {
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  engine_.seed(static_cast<std::uint64_t>(ticks) ^ static_cast<std::uint64_t>(std::time(nullptr)));
}

double SystemClock::random() {
  // Some library versions can round up to 1.0; the contract is [0, 1).
  double value = std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
  return value < 1.0 ? value : 0.0;
}

int current_year() { return local_now().tm_year + 1900; }

}  // namespace jukora
