// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/BufferWindow.h"
#include "link/CCasioModel.h"
#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/LinkObserver.h"
#include "qtadapters/QtSerialLine.h"
#include "settings/AppSettings.h"
#include "views/FontCache.h"
#include "views/ViewHost.h"

class CDuxelDoc;
class CDuxelMDIChildWnd;
class CDuxelView;
class DocumentManager;
class LinkDriver;
class Profile;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The program's main window: the multiple-document area with one child window per open mode
// of each document, the menus, the two toolbar sets, the status bar with the link pane, the
// program-wide settings, the receive buffer with its window, and the diary link driven from
// the event loop.
//
// Every command is a QAction named "action<id>" after its command id. Commands the frame
// does not carry out itself go to the active view (CDuxelView::commandState/runCommand); one
// update pass sets every action's enabled and checked state.
class CMainFrame : public QMainWindow, public ViewHost, public LinkObserver {
  Q_OBJECT

 public:
  // The settings come from the user's profile (VORT/Duxel39).
  explicit CMainFrame(QWidget* parent = nullptr);
  explicit CMainFrame(std::unique_ptr<Profile> profile, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The start-up after the window exists: the first document (the command line's file, a
  // new one, or none), the remembered mode windows, the main window's placement, the port
  // opened and receiving switched on as "Autoreceive" says. Shows the window.
  void startUp(const QStringList& arguments);

  DocumentManager* documentManager() const { return m_docs; }
  QMdiArea* mdiArea() const { return m_mdi; }
  Profile& profile() { return *m_profile; }

  // The document of the active child window, or null; its view.
  CDuxelDoc* activeDocument() const;
  CDuxelView* activeView() const;
  // The child windows of a document, in the order they were opened; their views; every view.
  QList<QMdiSubWindow*> documentWindows(CDuxelDoc* doc) const;
  std::vector<CDuxelView*> documentViews(CDuxelDoc* doc) const;
  std::vector<CDuxelView*> allViews() const;
  // Opens (or activates) the child window of `mode` for a document; null when the diary
  // type has no mode to show.
  QMdiSubWindow* openModeWindow(CDuxelDoc* doc, int mode);
  // The start-up command line (without the program name): the whole of it names one file.
  void openCommandLine(const QStringList& arguments);

  // The command's action (null for an unknown id), and carrying a command out as its menu
  // entry would (nothing when it is disabled).
  QAction* action(int id) const { return m_actions.value(id); }
  void runCommand(int id);
  // The enabling and check marks of every command, from the current state.
  void updateCommandStates();
  bool reducedToolbar() const { return m_reduced; }
  QToolBar* toolBar() const { return m_toolbar; }
  QLabel* linkPane() const { return m_linkPane; }

  // The current diary type; a new one re-enables the mode commands and redraws the views.
  const CCasioModel& diaryType() const { return m_model; }
  void setDiaryType(const CCasioModel& model);
  int newWindowMode() const { return m_newWindowMode; }
  int startupMode() const { return m_startupMode; }
  // The options sheet changed the settings: the link takes its options, new windows their
  // mode.
  void settingsChanged();
  // Writes every setting (command "Ulož nastavení", and closing with "SaveOnExit").
  bool SaveSettings();

  LinkEngine& linkEngine() { return m_engine; }
  CCasioPort& port() { return m_port; }
  // Takes the link settings into the port and opens it again (after the transfer parameters
  // changed); when that fails receiving is switched off.
  bool reopenPort();

  BufferWindow* bufferWindow() const { return m_bufferWindow; }
  // The buffer window's close handler.
  void bufferWindowClosing(BufferWindow* window);

  // ViewHost.
  AppSettings& settings() override { return m_settings; }
  FontCache& fonts() override { return m_fonts; }
  ReceiveBuffer& receiveBuffer() override { return *m_buffer; }
  void documentEdited(CDuxelDoc* doc, CDuxelView* source) override;
  void showStatus(const QString& text) override;
  void setNewWindowMode(int mode) override { m_newWindowMode = mode; }
  bool overwriteMode() const override { return m_overwrite; }
  void setOverwriteMode(bool on) override;
  void prepareSend() override;
  void cancelSend() override;
  bool startSend(const SendRequest& request) override;
  void stopSend() override;
  CDuxelDoc* sendingDocument() const override;
  bool canStartSend() const override;
  const CCasioModel* diaryModel() const override { return &m_model; }
  void bufferChanged() override { refreshBufferWindow(); }

  // LinkObserver.
  void statusText(const std::string& text) override;
  void message(int id, const std::string& detail, MessageIcon icon) override;
  void beep() override;
  bool isBufferWindowOpen() const override { return m_bufferWindow != nullptr; }
  void openBufferWindow() override;
  void closeBufferWindow() override;
  void refreshBufferWindow() override;
  void sheetSent(CDuxelDoc& document, CCasioPol& sheet) override;
  void sendFinished(const SendResult& result) override;
  void badChecksum(int total) override;
  void captureProgress(int records) override;
  void captureFinished(const CaptureResult& result) override;

 public slots:
  void fileNew();
  void fileOpen();
  bool fileSave();
  bool fileSaveAs();
  void openFile(const QString& path);

 signals:
  // The dialogs that other parts of the program open from the frame's commands; a test or
  // a later module may connect to them. Emitted when the command has no handler of its own.
  void bufferWindowOpened(BufferWindow* window);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void init();
  QAction* makeAction(int id, const QString& text, const QKeySequence& shortcut = {},
                      const QString& tip = {});
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void setReducedToolbar(bool reduced);
  void updateRecentFileActions();
  void updateWindowMenu();
  void childActivated(QMdiSubWindow* window);
  void showDocument(CDuxelDoc* doc);
  void updateTitles(CDuxelDoc* doc);
  void closeDocumentWindows(CDuxelDoc* doc);
  void windowGone(CDuxelDoc* doc, QMdiSubWindow* window);
  CDuxelView* viewOf(QMdiSubWindow* window) const;
  // The mode a new child window of a document shows (the diary type may lack the wanted
  // one); -1 when the type has no mode at all.
  int modeForNewWindow(int wanted) const;
  void restoreModeWindows();
  void applyMainWindowPlacement();
  void updateLockIndicators();

  // Commands carried out by the frame.
  bool frameCommandState(int id, bool* enabled, bool* checked) const;
  bool runFrameCommand(int id);
  void modeCommand(int mode);
  void toggleReceiving();
  void showBufferWindow();
  void emptyBuffer();
  void moveBufferToDocument(int mode);  // -1: every mode
  void receiveToFile();
  void closeAllDocuments();
  void showOptions();
  void transferParameters();
  void diaryTypes();
  void showAbout();
  void showTips();
  void linkTurnDone();

  std::unique_ptr<Profile> m_profile;
  AppSettings m_settings;
  FontCache m_fonts;
  CCasioModel m_model;
  std::unique_ptr<ReceiveBuffer> m_buffer;
  QtSerialLine m_line;
  CCasioPort m_port;
  LinkEngine m_engine;
  std::unique_ptr<LinkDriver> m_driver;
  CDuxelDoc* m_sendingDoc = nullptr;

  DocumentManager* m_docs;
  QMdiArea* m_mdi;
  QHash<int, QAction*> m_actions;
  QList<int> m_viewCommands;  // the commands routed to the active view
  QMenu* m_windowMenu = nullptr;
  QAction* m_recentSeparator = nullptr;
  QList<QAction*> m_recentActions;
  QToolBar* m_toolbar = nullptr;
  bool m_reduced = true;
  QLabel* m_linkPane = nullptr;
  QLabel* m_ovrPane = nullptr;
  QLabel* m_capsPane = nullptr;
  QLabel* m_numPane = nullptr;
  QPointer<BufferWindow> m_bufferWindow;
  // The child windows of each document; a document whose last window is gone is closed.
  QHash<CDuxelDoc*, QList<QMdiSubWindow*>> m_windows;
  int m_newWindowMode = 1;
  int m_startupMode = -1;
  bool m_suspendStartupMode = false;
  bool m_overwrite = false;
  int m_lastReceiveStatus = -1;
  bool m_lastReceiving = false;
  bool m_lastSending = false;
};
