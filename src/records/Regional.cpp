// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Regional.h"

#include <ctime>
#include <utility>

namespace {

RegionalSettings& Settings() {
  static RegionalSettings settings;
  return settings;
}

std::function<LocalDateTime()>& NowProvider() {
  static std::function<LocalDateTime()> provider;
  return provider;
}

LocalDateTime SystemNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime now;
  now.year = tm.tm_year + 1900;
  now.month = tm.tm_mon + 1;
  now.day = tm.tm_mday;
  now.hour = tm.tm_hour;
  now.minute = tm.tm_min;
  now.second = tm.tm_sec;
  return now;
}

}  // namespace

const RegionalSettings& GetRegionalSettings() { return Settings(); }

void SetRegionalSettings(const RegionalSettings& settings) { Settings() = settings; }

LocalDateTime LocalNow() {
  const auto& provider = NowProvider();
  return provider ? provider() : SystemNow();
}

void SetNowProvider(std::function<LocalDateTime()> provider) {
  NowProvider() = std::move(provider);
}
