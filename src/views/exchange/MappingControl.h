// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include <QCursor>
#include <QStringList>
#include <QWidget>

#include "viewmodel/MappingControlModel.h"

class QListWidget;

// The mapping control of the mapping editor ("DUXELMAPPING"): the sources in a list on the
// left, the targets in a list on the right, each two fifths of the width, and between them a
// strip with a line for every link. Clicks go to MappingControlModel, which holds the rules;
// the control draws, keeps the lists' selections and sets the pointer of the state.
class MappingControl : public QWidget {
  Q_OBJECT

 public:
  explicit MappingControl(QWidget* parent = nullptr);

  // New lists and pairs: the first row of each list is selected and the control is idle.
  void setUp(const QStringList& sources, const QStringList& targets,
             const std::vector<uint16_t>& pairs);
  // Another mapping's pairs on the same lists.
  void setPairs(const std::vector<uint16_t>& pairs);
  const std::vector<uint16_t>& pairs() const { return m_model.Pairs(); }
  const MappingControlModel& model() const { return m_model; }

  QListWidget* sourceList() const { return m_sources; }
  QListWidget* targetList() const { return m_targets; }
  // The strip between the lists: a link runs from its left edge at the middle of the source
  // row, flat to a quarter of its width, across to three quarters at the middle of the target
  // row, and flat to its right edge.
  QWidget* linkStrip() const { return m_strip; }

  // The middle of a row in the strip's coordinates, following the list's scrolling.
  int rowMiddle(QListWidget* list, int row) const;

 signals:
  // The user linked or unlinked rows; pairs() has the new links.
  void linksChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void sourceClicked(int row);
  void targetClicked(int row);
  void stateChanged();

  MappingControlModel m_model;
  QListWidget* m_sources;
  QListWidget* m_targets;
  QWidget* m_strip;
  QCursor m_sourceChosenCursor;  // the pointer while a source waits for its target
  QCursor m_targetChosenCursor;  // the pointer while a target takes sources
};
