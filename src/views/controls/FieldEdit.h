// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QPlainTextEdit>

#include "viewmodel/FieldEditModel.h"

class QMimeData;
class ViewHost;

// The main edit of a record form: every text field of the record in one multi-line edit,
// in the field-edit encoding (see FieldEditModel). The user sees a field end as «, a line
// break inside a field as ¶ at the end of the line, and a space as a no-break space.
//
// All the rules live in the model; this class only maps keys, the selection and the
// clipboard onto it and mirrors each change in the document it shows. Never change the
// text through QPlainTextEdit's own setters (setPlainText, insertPlainText, cut, paste ...):
// use the functions below, which keep the model and the display together.
//
// Beside the edit a caption control (optional, made by the view) shows the field captions,
// each on the line where its field starts, and scrolls with the edit.
class FieldEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit FieldEdit(QWidget* parent = nullptr);

  // --- Attaching --------------------------------------------------------------------------
  // The caption control and its captions (Windows-1250, each already ending in ": "). The
  // control is made read-only, without scroll bars or line wrap, given this edit's font,
  // and sized to its widest caption + 10 pixels (captionWidthChanged tells the view). Null
  // detaches it.
  void setCaptionControl(QPlainTextEdit* control, const std::vector<std::string>& captions);
  QPlainTextEdit* captionControl() const { return m_captionControl; }
  void setCaptions(const std::vector<std::string>& captions);
  // The edit font, also given to the caption control.
  void setEditFont(const QFont& font);
  // The diary's display width of the mode in characters: the edit's preferred width becomes
  // (chars + 1) character widths plus the vertical scroll bar (preferredWidthChanged).
  void setDisplayWidth(int chars);
  int preferredWidth() const { return m_preferredWidth; }

  // The overwrite flag shared by every field edit ("OVR"). By default a flag of this class
  // for the whole program; a view hands over the host's flag with setHost.
  void setOverwriteAccess(std::function<bool()> get, std::function<void(bool)> set);
  void setHost(ViewHost& host);
  bool overwrite() const;
  static bool defaultOverwriteFlag();

  // --- Fields -----------------------------------------------------------------------------
  void clearFields();
  // Shows these fields (plain Windows-1250; CR for line breaks); the caret goes to the start.
  void setFields(const std::vector<std::string>& plain);
  void appendField(const std::string& plain);
  std::string field(int index) const { return m_model.GetField(index); }
  int fieldCount() const { return m_model.FieldCount(); }
  // The encoded bytes as they stand (tests, the view's checks).
  const std::string& encodedText() const { return m_model.Text(); }

  // --- Counting ---------------------------------------------------------------------------
  void setCharLimit(int limit);
  int charLimit() const { return m_model.Limit(); }
  int freeChars() const { return m_model.FreeChars(); }

  // Changed by the user since the last setFields/clearFields/setModified(false).
  bool isModified() const { return m_modified; }
  void setModified(bool modified);

  // --- The commands the view routes to the edit --------------------------------------------
  // Delete: the view's Delete command (and the Delete key) deletes forwards by the rules.
  void deleteForward();
  // Copy puts the selection on the clipboard without the reserved bytes; cut removes it
  // afterwards by the deletion rules; paste converts the clipboard text and inserts it.
  void copyText();
  void cutText();
  void pasteText();
  // The focus into the edit with the caret at the start, scrolled into view (after New).
  void setFocusAtStart();
  // Types text as from the keyboard (each character through the typing rules).
  void typeText(const QString& text);
  // Enabling of the view's Delete, Cut and Paste commands while the edit has the focus.
  bool canDelete() const;
  bool canCut() const;
  bool canPaste() const;

  // The model with the selection of the widget (for the view's own checks).
  const FieldEditModel& model() const;

 signals:
  // The counted characters changed: the view shows free chars in its "Volných znaků:" counter.
  void freeCharsChanged(int freeChars);
  // The first user edit after setModified(false), and setModified itself.
  void modifiedChanged(bool modified);
  // Insert toggled the shared overwrite flag.
  void overwriteToggled(bool overwrite);
  // An edit was refused (the edit has beeped).
  void refused();
  void captionWidthChanged(int width);
  void preferredWidthChanged(int width);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The widget's selection into the model (byte offsets).
  void syncSelection() const;
  // Runs one edit of the model on the widget's selection and mirrors it in the document the
  // user sees; beeps for a refused one.
  void run(const std::function<FieldEditModel::Change(FieldEditModel&)>& edit);
  void pasteString(const QString& text);
  void showModelText();
  void textChangedByUser();
  void rebuildCaptions();
  void alignCaptions();
  void updateCaptionWidth();
  void updatePreferredWidth();
  void updateCursorLook();
  QString displayText(const std::string& encoded) const;

  mutable FieldEditModel m_model;
  QPlainTextEdit* m_captionControl = nullptr;
  std::vector<std::string> m_captions;
  std::function<bool()> m_getOverwrite;
  std::function<void(bool)> m_setOverwrite;
  int m_displayChars = 0;
  int m_preferredWidth = 0;
  int m_captionWidth = 0;
  int m_lineCount = 1;
  int m_lastFree = -1;
  bool m_modified = false;
};
