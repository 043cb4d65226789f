// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "document/CDuxelDoc.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "settings/AppSettings.h"
#include "views/FontCache.h"
#include "views/ViewHost.h"

// The program around a view, for view tests and benchmarks: settings at their defaults, a
// font cache and an empty receive buffer; it counts edits and writes down the send calls.
class FakeViewHost : public ViewHost {
 public:
  AppSettings& settings() override { return m_settings; }
  FontCache& fonts() override { return m_fonts; }
  ReceiveBuffer& receiveBuffer() override { return m_buffer; }
  void documentEdited(CDuxelDoc* doc, CDuxelView*) override {
    doc->SetModifiedFlag(true);
    ++edits;
  }
  void showStatus(const QString& text) override { status = text; }
  void setNewWindowMode(int) override {}
  bool overwriteMode() const override { return m_overwrite; }
  void setOverwriteMode(bool on) override { m_overwrite = on; }
  void prepareSend() override { log << QStringLiteral("prepare"); }
  void cancelSend() override { log << QStringLiteral("cancel"); }
  bool startSend(const SendRequest& r) override {
    log << QStringLiteral("start %1 %2").arg(r.filter).arg(r.transferMarks);
    sending = r.document;
    r.document->SetSending(true);
    return true;
  }
  void stopSend() override {
    log << QStringLiteral("stop");
    if (stopEndsSend && sending) {
      sending->SetSending(false);
      sending = nullptr;
    }
  }
  CDuxelDoc* sendingDocument() const override { return sending; }

  int edits = 0;
  QString status;
  QStringList log;
  CDuxelDoc* sending = nullptr;
  bool stopEndsSend = true;

 private:
  AppSettings m_settings;
  FontCache m_fonts;
  ReceiveBuffer m_buffer;
  bool m_overwrite = false;
};
