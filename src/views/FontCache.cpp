// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/FontCache.h"

namespace {
// The character sets the profile stores come from the diary's PC program: 238 is East
// European, 204 Cyrillic, 161 Greek, 162 Turkish, 177 Hebrew, 178 Arabic. Qt fonts are
// Unicode, so the set only picks a writing system that the chosen face should support.
QFont::StyleStrategy strategyFor(int) { return QFont::PreferDefault; }
}  // namespace

FontEntry* FontCache::GetFont(const QString& face, int size, int charset) {
  for (FontEntry& e : m_entries) {
    if (e.size == size && e.charset == charset && e.face.compare(face, Qt::CaseInsensitive) == 0) {
      ++e.uses;
      return &e;
    }
  }
  FontEntry& e = m_entries.emplace_back();
  e.face = face;
  e.size = quint16(size);
  e.charset = quint16(charset);
  // Sizes are points at 96 pixels per inch, as the diary's PC program drew them.
  e.font = QFont(face);
  if (size > 0) e.font.setPixelSize(size * 4 / 3);
  e.font.setStyleStrategy(strategyFor(charset));
  e.uses = 1;
  return &e;
}

void FontCache::ReleaseFont(FontEntry* entry) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (&*it != entry) continue;
    if (--it->uses <= 0) m_entries.erase(it);
    return;
  }
}
