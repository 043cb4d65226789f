// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "settings/AppSettings.h"
#include "views/FontCache.h"
#include "views/ViewHost.h"

class CDuxelDoc;
class DocumentManager;
class CDuxelView;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The program's main window: a multiple-document area holding one child window per open
// mode of each document, the file and window menus, and the opening of dropped files.
class CMainFrame : public QMainWindow, public ViewHost {
  Q_OBJECT

 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  DocumentManager* documentManager() const { return m_docs; }
  QMdiArea* mdiArea() const { return m_mdi; }

  // The document of the active child window, or null.
  CDuxelDoc* activeDocument() const;
  // The child windows of a document, in the order they were opened.
  QList<QMdiSubWindow*> documentWindows(CDuxelDoc* doc) const;
  // Opens (or activates) the child window of `mode` for a document.
  QMdiSubWindow* openModeWindow(CDuxelDoc* doc, int mode);
  // The start-up command line (without the program name): the whole of it names one file.
  void openCommandLine(const QStringList& arguments);

 // ViewHost.
  AppSettings& settings() override { return m_settings; }
  FontCache& fonts() override { return m_fonts; }
  ReceiveBuffer& receiveBuffer() override { return *m_buffer; }
  void documentEdited(CDuxelDoc* doc, CDuxelView* source) override;
  void showStatus(const QString& text) override;
  void setNewWindowMode(int mode) override { m_newWindowMode = mode; }
  bool overwriteMode() const override { return m_overwrite; }
  void setOverwriteMode(bool on) override { m_overwrite = on; }
  void prepareSend() override {}
  void cancelSend() override {}
  bool startSend(const SendRequest&) override { return false; }
  void stopSend() override {}
  CDuxelDoc* sendingDocument() const override { return nullptr; }

 public slots:
  void fileNew();
  void fileOpen();
  bool fileSave();
  bool fileSaveAs();
  void openFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createMenus();
  void updateRecentFileActions();
  void updateWindowMenu();
  void updateActions();
  void showDocument(CDuxelDoc* doc);
  void updateTitles(CDuxelDoc* doc);
  void closeDocumentWindows(CDuxelDoc* doc);
  void windowGone(CDuxelDoc* doc, QMdiSubWindow* window);
  CDuxelView* viewOf(QMdiSubWindow* window) const;

  DocumentManager* m_docs;
  QMdiArea* m_mdi;
  QMenu* m_windowMenu = nullptr;
  QAction* m_saveAction = nullptr;
  QAction* m_saveAsAction = nullptr;
  QAction* m_recentSeparator = nullptr;
  QList<QAction*> m_recentActions;
  // The child windows of each document; a document whose last window is gone is closed.
  QHash<CDuxelDoc*, QList<QMdiSubWindow*>> m_windows;
  AppSettings m_settings;
  FontCache m_fonts;
  std::unique_ptr<ReceiveBuffer> m_buffer;
  int m_newWindowMode = 1;
  bool m_overwrite = false;
};
