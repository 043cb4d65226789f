// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The click rules of the mapping control: two lists (sources on the left, targets on the
// right) whose rows are linked by clicking one row in each. The pairs are the words of a field
// mapping (source in the high byte, target in the low byte); a source has at most one target,
// a target any number of sources.
class MappingControlModel {
 public:
  enum class State {
    Idle,          // nothing chosen: the normal pointer
    SourceChosen,  // a source waits for its target
    TargetChosen,  // a target takes sources one after another
  };

  // New rows and pairs: both lists select their first row and the control is idle.
  void SetUp(int sources, int targets, std::vector<uint16_t> pairs);
  // Another mapping's pairs; the rows and the state stay.
  void SetPairs(std::vector<uint16_t> pairs) { m_pairs = std::move(pairs); }
  const std::vector<uint16_t>& Pairs() const { return m_pairs; }

  // A click on a row of the source or target list (the row becomes the list's selection).
  // True when the links changed. Rows outside the list are ignored.
  bool ClickSource(int row);
  bool ClickTarget(int row);
  // The selection moved without a click (the keyboard): no rule applies.
  void SelectSource(int row);
  void SelectTarget(int row);

  State state() const { return m_state; }
  int source() const { return m_source; }
  int target() const { return m_target; }
  int sourceCount() const { return m_sources; }
  int targetCount() const { return m_targets; }

  bool IsLinked(int source, int target) const;
  // The links to draw: every pair whose source and target are rows of the lists.
  std::vector<std::pair<int, int>> Links() const;

 private:
  // Removes the link S-T when there is one; else links S to T, dropping S's other link.
  bool Toggle();
  bool Unlink();

  int m_sources = 0;
  int m_targets = 0;
  int m_source = 0;
  int m_target = 0;
  State m_state = State::Idle;
  std::vector<uint16_t> m_pairs;
};
