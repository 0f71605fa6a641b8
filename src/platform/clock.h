// SPDX-License-Identifier: GPL-3.0-or-later
// The current local time and a random source the play cycle can be tested with.
#pragma once

#include <cstdint>
#include <random>

namespace jukora {

// A local calendar time, no time zone attached.
struct DateTime {
  int year = 1971;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime now() = 0;
  // Starts a new random sequence from the clock.
  virtual void reseed() = 0;
  // Uniform in [0, 1).
  virtual double random() = 0;
};

class SystemClock : public Clock {
 public:
  DateTime now() override;
  void reseed() override;
  double random() override;

 private:
  std::mt19937_64 engine_{std::random_device{}()};
};

// The current local year, for reading two-digit years.
int current_year();

}  // namespace jukora
