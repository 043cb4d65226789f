// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/MappingControlModel.h"

#include <algorithm>

namespace {
// A pair word holds each index in one byte.
constexpr int kMaxIndex = 255;

uint16_t Pair(int source, int target) { return uint16_t((source << 8) | target); }
}  // namespace

void MappingControlModel::SetUp(int sources, int targets, std::vector<uint16_t> pairs) {
  m_sources = std::max(sources, 0);
  m_targets = std::max(targets, 0);
  m_source = 0;
  m_target = 0;
  m_state = State::Idle;
  m_pairs = std::move(pairs);
}

bool MappingControlModel::IsLinked(int source, int target) const {
  if (source < 0 || source > kMaxIndex || target < 0 || target > kMaxIndex) return false;
  return std::find(m_pairs.begin(), m_pairs.end(), Pair(source, target)) != m_pairs.end();
}

std::vector<std::pair<int, int>> MappingControlModel::Links() const {
  std::vector<std::pair<int, int>> links;
  for (uint16_t pair : m_pairs) {
    const int source = pair >> 8, target = pair & 0xFF;
    if (source < m_sources && target < m_targets) links.emplace_back(source, target);
  }
  return links;
}

bool MappingControlModel::Unlink() {
  if (!IsLinked(m_source, m_target)) return false;
  const uint16_t link = Pair(m_source, m_target);
  m_pairs.erase(std::remove(m_pairs.begin(), m_pairs.end(), link), m_pairs.end());
  return true;
}

bool MappingControlModel::Toggle() {
  if (Unlink()) return true;
  // Rows past the 256th cannot be written into a pair word.
  if (m_source > kMaxIndex || m_target > kMaxIndex) return false;
  m_pairs.erase(std::remove_if(m_pairs.begin(), m_pairs.end(),
                               [this](uint16_t p) { return (p >> 8) == m_source; }),
                m_pairs.end());
  m_pairs.push_back(Pair(m_source, m_target));
  return true;
}

bool MappingControlModel::ClickSource(int row) {
  if (row < 0 || row >= m_sources) return false;
  const int previous = m_source;
  m_source = row;
  switch (m_state) {
    case State::TargetChosen:
      // One target takes several sources in a row.
      return Toggle();
    case State::Idle: {
      const bool changed = Unlink();
      m_state = State::SourceChosen;
      return changed;
    }
    case State::SourceChosen:
      if (IsLinked(m_source, m_target) || row == previous) m_state = State::Idle;
      return false;
  }
  return false;
}

bool MappingControlModel::ClickTarget(int row) {
  if (row < 0 || row >= m_targets) return false;
  const int previous = m_target;
  m_target = row;
  switch (m_state) {
    case State::SourceChosen:
      return Toggle();
    case State::Idle: {
      const bool changed = Unlink();
      m_state = State::TargetChosen;
      return changed;
    }
    case State::TargetChosen:
      if (IsLinked(m_source, m_target) || row == previous) m_state = State::Idle;
      return false;
  }
  return false;
}

void MappingControlModel::SelectSource(int row) {
  if (row >= 0 && row < m_sources) m_source = row;
}

void MappingControlModel::SelectTarget(int row) {
  if (row >= 0 && row < m_targets) m_target = row;
}
