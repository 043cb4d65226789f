// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <list>

// The fonts of the windows, shared: views that show the same face, size and character set
// hold one font entry with a use count, and the entry goes when its last user releases it.
struct FontEntry {
  QFont font;
  QString face;
  quint16 charset = 1;
  quint16 size = 0;
  int uses = 0;
};

class FontCache {
 public:
  // The entry of that face (compared without regard to case), size in points and character
  // set, made when missing; its use count goes up by one. Never null.
  FontEntry* GetFont(const QString& face, int size, int charset);
  // One use less; at none the entry is removed. An entry not in the cache is ignored.
  void ReleaseFont(FontEntry* entry);

  int entryCount() const { return int(m_entries.size()); }

 private:
  std::list<FontEntry> m_entries;  // stable addresses
};
