// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "extras/TipFile.h"

class Profile;
class QCheckBox;
class QLabel;
class QPushButton;

// The profile section of the tip of the day: "StartUp" (0 shows the tips at start-up),
// "FilePos" (where the next tip is read) and "TimeStamp" (the tips file's modification time
// when "FilePos" was stored).
constexpr const char* kTipSection = "Tip";

// "Tip dne": one tip at a time from the tips file, going on where it stopped last time.
// Closing stores whether to show the tips at start-up and the position in the file.
class TipDialog : public QDialog {
  Q_OBJECT
 public:
  // `tipsPath` is the tips file (FindTipsFile()); empty or unreadable shows string 142.
  TipDialog(Profile& profile, const QString& tipsPath, QWidget* parent = nullptr);

  // The tip shown (or the text standing for none).
  QString tipText() const;
  // "&Další Tip".
  void nextTip();

  void done(int result) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Profile& m_profile;
  TipFile m_file;
  QString m_tip;
  QCheckBox* m_startUp = nullptr;
  QPushButton* m_next = nullptr;
  QLabel* m_text = nullptr;
  QWidget* m_picture = nullptr;
};

// The tips file "Tips.txt": beside the program, else in the installed data folders
// (share/duxel); empty when there is none.
QString FindTipsFile();

// True when the tip of the day opens at start-up ("StartUp" is 0 or missing).
bool ShowTipsAtStartUp(const Profile& profile);

// "Nápo&věda/&Tip dne…": the tip dialog on the tips file FindTipsFile() finds, modal.
void ShowTipOfTheDay(Profile& profile, QWidget* parent);
// At a normal start, once the windows are drawn: the tip dialog when "StartUp" says so.
void ShowTipsOnStartUp(Profile& profile, QWidget* parent);
