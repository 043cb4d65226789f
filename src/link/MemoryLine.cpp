// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MemoryLine.h"

#include <algorithm>

std::pair<std::unique_ptr<MemoryLine>, std::unique_ptr<MemoryLine>> MemoryLine::makePair() {
  auto a = std::make_unique<MemoryLine>();
  auto b = std::make_unique<MemoryLine>();
  a->m_peer = b.get();
  b->m_peer = a.get();
  b->m_open = true;
  return {std::move(a), std::move(b)};
}

LineResult MemoryLine::open(const std::string& device, const LineSettings& settings) {
  m_open = false;
  m_device = device;
  m_settings = settings;
  if (!m_openResult.ok()) return m_openResult;
  m_input.clear();
  m_lost = false;
  m_open = true;
  return {};
}

bool MemoryLine::close() {
  m_open = false;
  m_dtr = m_rts = false;
  m_input.clear();
  return true;
}

int MemoryLine::queued() {
  if (!m_open || m_lost) return 0;
  return static_cast<int>(m_input.size());
}

int MemoryLine::read(uint8_t* buffer, int n) {
  if (!m_open || m_lost) return -1;
  const int count = std::min<int>(n, static_cast<int>(m_input.size()));
  for (int i = 0; i < count; ++i) {
    buffer[i] = m_input.front();
    m_input.pop_front();
  }
  return count;
}

bool MemoryLine::writeByte(uint8_t byte) {
  if (!m_open || m_lost) return false;
  if (m_writesLeft == 0) return false;
  if (m_writesLeft > 0) --m_writesLeft;
  m_written.push_back({m_clock ? m_clock() : 0, byte});
  // A closed or vanished far end hears nothing.
  if (m_peer && m_peer->m_open && !m_peer->m_lost) m_peer->m_input.push_back(byte);
  return true;
}

bool MemoryLine::purge() {
  ++m_purges;
  if (!m_open || m_lost) return false;
  m_input.clear();
  return true;
}

LineResult MemoryLine::setDtr() {
  if (!m_open || m_lost) return {LineError::ResourceLost, "device not open", {}};
  if (m_dtrResult.ok()) m_dtr = true;
  return m_dtrResult;
}

LineResult MemoryLine::setRts() {
  if (!m_open || m_lost) return {LineError::ResourceLost, "device not open", {}};
  if (m_rtsResult.ok()) m_rts = true;
  return m_rtsResult;
}

bool MemoryLine::writeBytes(const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes)
    if (!writeByte(b)) return false;
  return true;
}

bool MemoryLine::writeText(const std::string& text) {
  return writeBytes(std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> MemoryLine::readAll() {
  std::vector<uint8_t> out(m_input.begin(), m_input.end());
  m_input.clear();
  return out;
}

std::vector<uint8_t> MemoryLine::writtenBytes() const {
  std::vector<uint8_t> out;
  out.reserve(m_written.size());
  for (const Written& w : m_written) out.push_back(w.byte);
  return out;
}
