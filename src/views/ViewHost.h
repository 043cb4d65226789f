// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct AppSettings;
class CCasioModel;
class CDuxelDoc;
class CDuxelView;
class FontCache;
class ReceiveBuffer;
struct SendRequest;

// What the views need of the program around them. The main frame implements it; view tests
// implement it with a fake. The views never reach the main frame in any other way.
class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // The program-wide settings (fonts, colours, free-field names, printing, expenses, the
  // link and the exchange). Dialogs may change them; the main frame writes them back.
  virtual AppSettings& settings() = 0;
  virtual FontCache& fonts() = 0;
  virtual ReceiveBuffer& receiveBuffer() = 0;

  // A view changed its document's records: the document is marked modified and the other
  // views of the document redraw. `source` is the view that made the change (may be null).
  virtual void documentEdited(CDuxelDoc* doc, CDuxelView* source) = 0;
  // The text of the status bar's message pane.
  virtual void showStatus(const QString& text) = 0;
  // A view got the focus: new windows open in its mode.
  virtual void setNewWindowMode(int mode) = 0;
  // The insert/overwrite flag that "OVR" shows, shared by every field edit.
  virtual bool overwriteMode() const = 0;
  virtual void setOverwriteMode(bool on) = 0;

  // The link: receiving is switched off for a send and restored afterwards (the engine's
  // prepareSend/cancelSend), the send runs from the event loop and reports in the link pane.
  virtual void prepareSend() = 0;
  virtual void cancelSend() = 0;
  // False when a send or capture is running (nothing started).
  virtual bool startSend(const SendRequest& request) = 0;
  virtual void stopSend() = 0;
  // The document being sent, or null.
  virtual CDuxelDoc* sendingDocument() const = 0;

  // Whether a send may start now: the port is open and no reception is running.
  virtual bool canStartSend() const { return true; }
  // The diary type chosen in the settings (which modes the diary has); null: every mode.
  virtual const CCasioModel* diaryModel() const { return nullptr; }
  // Records left the receive buffer for a document: its window and status redraw.
  virtual void bufferChanged() {}
};
