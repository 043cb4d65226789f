// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/controls/FieldEdit.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include "views/GuiText.h"
#include "views/ViewHost.h"

namespace {
// Off at start, toggled by Insert in any field edit.
bool g_overwrite = false;

// One byte of a character typed, or 0 when Windows-1250 cannot hold it.
char ByteOf(QChar ch) {
  if (ch == u'\n' || ch == u'\r') return FieldEditModel::kEnter;
  const std::string bytes = Cp1250FromUtf16(std::u16string(1, ch.unicode()));
  if (bytes.size() != 1 || (bytes[0] == '?' && ch != u'?')) return 0;
  return bytes[0];
}

// Windows-1250 text from the clipboard; the line breaks stay as they come.
std::string BytesOf(const QString& text) { return Cp1250FromQString(text); }
}  // namespace

FieldEdit::FieldEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("fieldEdit"));
  // Soft line breaks off: every line of the text is a line of the edit.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  // Tab moves to the next control, as in a form; Ctrl+Z is the view's Undo.
  setTabChangesFocus(true);
  setUndoRedoEnabled(false);
  setAcceptDrops(false);
  m_getOverwrite = [] { return g_overwrite; };
  m_setOverwrite = [](bool on) { g_overwrite = on; };
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { alignCaptions(); });
}

// --- Attaching ------------------------------------------------------------------------------

void FieldEdit::setCaptionControl(QPlainTextEdit* control,
                                  const std::vector<std::string>& captions) {
  if (m_captionControl) m_captionControl->verticalScrollBar()->disconnect(this);
  m_captionControl = control;
  m_captions = captions;
  if (control) {
    // A new caption text may reach its full scroll range only after the edit has scrolled.
    connect(control->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { alignCaptions(); });
    control->setReadOnly(true);
    control->setFocusPolicy(Qt::NoFocus);
    control->setLineWrapMode(QPlainTextEdit::NoWrap);
    control->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // It follows the edit; the wheel over it scrolls the form, not the captions alone.
    control->setAttribute(Qt::WA_TransparentForMouseEvents);
    control->setFont(font());
  }
  updateCaptionWidth();
  rebuildCaptions();
}

void FieldEdit::setCaptions(const std::vector<std::string>& captions) {
  m_captions = captions;
  updateCaptionWidth();
  rebuildCaptions();
}

void FieldEdit::setEditFont(const QFont& editFont) {
  setFont(editFont);
  if (m_captionControl) m_captionControl->setFont(editFont);
  updateCaptionWidth();
  updatePreferredWidth();
  alignCaptions();
}

void FieldEdit::setDisplayWidth(int chars) {
  m_displayChars = chars;
  updatePreferredWidth();
}

void FieldEdit::updateCaptionWidth() {
  if (!m_captionControl) return;
  const QFontMetrics metrics(m_captionControl->font());
  int widest = 0;
  for (const std::string& caption : m_captions)
    widest = std::max(widest, metrics.horizontalAdvance(QStringFromCp1250(caption)));
  const int margins = 2 * m_captionControl->frameWidth() +
                      2 * int(m_captionControl->document()->documentMargin());
  const int width = widest + 10 + margins;
  m_captionControl->setFixedWidth(width);
  if (width != m_captionWidth) {
    m_captionWidth = width;
    emit captionWidthChanged(width);
  }
}

void FieldEdit::updatePreferredWidth() {
  if (m_displayChars <= 0) return;
  // The width of the widest letter; the diary's fonts are fixed-pitch.
  const int charWidth = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
  const int width = (m_displayChars + 1) * charWidth + verticalScrollBar()->sizeHint().width() +
                    2 * frameWidth() + 2 * int(document()->documentMargin());
  setMinimumWidth(width);
  if (width != m_preferredWidth) {
    m_preferredWidth = width;
    emit preferredWidthChanged(width);
  }
}

void FieldEdit::setOverwriteAccess(std::function<bool()> get, std::function<void(bool)> set) {
  m_getOverwrite = std::move(get);
  m_setOverwrite = std::move(set);
  updateCursorLook();
}

void FieldEdit::setHost(ViewHost& host) {
  setOverwriteAccess([&host] { return host.overwriteMode(); },
                     [&host](bool on) { host.setOverwriteMode(on); });
}

bool FieldEdit::overwrite() const { return m_getOverwrite(); }

bool FieldEdit::defaultOverwriteFlag() { return g_overwrite; }

void FieldEdit::updateCursorLook() {
  // Only the caret's shape: typing never goes through QPlainTextEdit's own overwrite.
  QPlainTextEdit::setOverwriteMode(overwrite());
}

// --- Fields ---------------------------------------------------------------------------------

QString FieldEdit::displayText(const std::string& encoded) const {
  // Windows-1250 0xAB, 0xB6 and 0xA0 are «, ¶ and the no-break space; CR LF is one break.
  QString text = QStringFromCp1250(encoded);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return text;
}

void FieldEdit::showModelText() {
  setPlainText(displayText(m_model.Text()));
  m_lineCount = m_model.LineCount();
  rebuildCaptions();
}

void FieldEdit::clearFields() { setFields({}); }

void FieldEdit::setFields(const std::vector<std::string>& plain) {
  m_model.SetFields(plain);
  m_model.SetSelection(0, 0);
  showModelText();
  moveCursor(QTextCursor::Start);
  setModified(false);
  const int free = freeChars();
  if (free != m_lastFree) {
    m_lastFree = free;
    emit freeCharsChanged(free);
  }
}

void FieldEdit::appendField(const std::string& plain) {
  m_model.AppendField(plain);
  showModelText();
  moveCursor(QTextCursor::End);
  const int free = freeChars();
  if (free != m_lastFree) {
    m_lastFree = free;
    emit freeCharsChanged(free);
  }
}

void FieldEdit::setCharLimit(int limit) {
  m_model.SetLimit(limit);
  const int free = freeChars();
  if (free != m_lastFree) {
    m_lastFree = free;
    emit freeCharsChanged(free);
  }
}

void FieldEdit::setModified(bool modified) {
  if (modified == m_modified) return;
  m_modified = modified;
  emit modifiedChanged(modified);
}

// --- Mapping onto the model -----------------------------------------------------------------

void FieldEdit::syncSelection() const {
  const QTextCursor cursor = textCursor();
  const std::string& text = m_model.Text();
  m_model.SetSelection(FieldEditModel::OffsetOf(text, cursor.anchor()),
                       FieldEditModel::OffsetOf(text, cursor.position()));
}

const FieldEditModel& FieldEdit::model() const {
  syncSelection();
  return m_model;
}

void FieldEdit::run(const std::function<FieldEditModel::Change(FieldEditModel&)>& edit) {
  if (isReadOnly()) return;
  syncSelection();
  const int oldStart = m_model.SelStart();
  const int oldEnd = m_model.SelEnd();
  const std::string before = m_model.Text();
  const FieldEditModel::Change change = edit(m_model);
  const std::string& after = m_model.Text();
  if (change.edited) {
    QTextCursor cursor(document());
    cursor.setPosition(FieldEditModel::PositionOf(before, change.from));
    cursor.setPosition(FieldEditModel::PositionOf(before, change.to), QTextCursor::KeepAnchor);
    cursor.insertText(displayText(change.inserted));
  }
  if (change.edited || change.selStart != oldStart || change.selEnd != oldEnd) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(FieldEditModel::PositionOf(after, change.selStart));
    cursor.setPosition(FieldEditModel::PositionOf(after, change.selEnd), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
  }
  if (change.beep) {
    QApplication::beep();
    emit refused();
  }
  if (change.edited) textChangedByUser();
  ensureCursorVisible();
  alignCaptions();
}

void FieldEdit::typeText(const QString& text) {
  if (isReadOnly()) return;
  for (const QChar ch : text) {
    const char byte = ByteOf(ch);
    if (!byte) {
      // Not a character of the diary's code page.
      QApplication::beep();
      emit refused();
      continue;
    }
    const bool over = overwrite();
    run([byte, over](FieldEditModel& model) { return model.Type(byte, over); });
  }
}

void FieldEdit::setFocusAtStart() {
  setFocus(Qt::OtherFocusReason);
  moveCursor(QTextCursor::Start);
  ensureCursorVisible();
  alignCaptions();
}

void FieldEdit::deleteForward() {
  run([](FieldEditModel& model) { return model.DeleteForward(); });
}

void FieldEdit::copyText() {
  syncSelection();
  if (!m_model.HasSelection()) return;
  QApplication::clipboard()->setMimeData(createMimeDataFromSelection());
}

void FieldEdit::cutText() {
  if (isReadOnly()) return;
  syncSelection();
  if (!m_model.HasSelection()) return;
  // Copy only what the deletion rules will let go.
  FieldEditModel trial(m_model);
  if (trial.Cut().beep) {
    QApplication::beep();
    emit refused();
    return;
  }
  copyText();
  run([](FieldEditModel& model) { return model.Cut(); });
}

void FieldEdit::pasteText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    QApplication::beep();
    emit refused();
    return;
  }
  pasteString(data->text());
}

void FieldEdit::pasteString(const QString& text) {
  const std::string bytes = BytesOf(text);
  run([&bytes](FieldEditModel& model) { return model.Paste(bytes); });
}

bool FieldEdit::canDelete() const { return !isReadOnly() && model().CanDelete(); }

bool FieldEdit::canCut() const { return !isReadOnly() && model().CanCut(); }

bool FieldEdit::canPaste() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return !isReadOnly() && data && data->hasText() && model().CanPaste(BytesOf(data->text()));
}

void FieldEdit::textChangedByUser() {
  setModified(true);
  const int free = freeChars();
  if (free != m_lastFree) {
    m_lastFree = free;
    emit freeCharsChanged(free);
  }
  const int lines = m_model.LineCount();
  if (lines != m_lineCount) {
    m_lineCount = lines;
    rebuildCaptions();
  } else {
    alignCaptions();
  }
}

// --- Captions -------------------------------------------------------------------------------

void FieldEdit::rebuildCaptions() {
  if (!m_captionControl) return;
  QStringList lines;
  for (const std::string& line : FieldEditModel::CaptionLines(m_model.Text(), m_captions))
    lines << QStringFromCp1250(line);
  m_captionControl->setPlainText(lines.join(QLatin1Char('\n')));
  alignCaptions();
}

void FieldEdit::alignCaptions() {
  if (!m_captionControl) return;
  // Both scroll by whole lines of the same font: the same first line is the same value.
  m_captionControl->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

// --- Events ---------------------------------------------------------------------------------

bool FieldEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Undo and Shift/Ctrl+Enter are the view's commands (Undo, New, Add), not the edit's.
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
        (enter && (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))) {
      event->ignore();
      return true;
    }
  }
  return QPlainTextEdit::event(event);
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
    const bool on = !overwrite();
    m_setOverwrite(on);
    updateCursorLook();
    emit overwriteToggled(on);
    return;
  }
  if (event->matches(QKeySequence::Copy)) return copyText();
  if (event->matches(QKeySequence::Cut)) return cutText();
  if (event->matches(QKeySequence::Paste)) return pasteText();
  switch (key) {
    case Qt::Key_Backspace:
      run([](FieldEditModel& model) { return model.Backspace(); });
      return;
    case Qt::Key_Delete:
      deleteForward();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Shift+Enter and Ctrl+Enter are the view's New and Add.
      if (mods == Qt::NoModifier)
        typeText(QStringLiteral("\r"));
      else
        event->ignore();
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      QPlainTextEdit::keyPressEvent(event);
      alignCaptions();
      return;
    default:
      break;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  const QString text = event->text();
  const bool command = mods & (Qt::ControlModifier | Qt::MetaModifier);
  const bool printable = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.unicode() >= 0x20 && c.unicode() != 0x7F;
  });
  if (printable && !command) {
    typeText(text);
    return;
  }
  // Every other key that would change the text (delete word, undo ...) is not for this edit.
  event->ignore();
}

void FieldEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Composed characters (dead keys, compose sequences) arrive here, not as key presses.
  if (!event->commitString().isEmpty()) typeText(event->commitString());
  event->accept();
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  updateCursorLook();
  // A new visit starts at the top; coming back from a menu or another window does not, and
  // a click puts the caret where it points (scrolling to the top first would move the text
  // from under the pointer).
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
      reason != Qt::MouseFocusReason) {
    moveCursor(QTextCursor::Start);
    ensureCursorVisible();
    alignCaptions();
  }
}

void FieldEdit::mousePressEvent(QMouseEvent* event) {
  // A press inside the selection would start dragging the text away, past the rules.
  if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
    setTextCursor(cursorForPosition(event->position().toPoint()));
  QPlainTextEdit::mousePressEvent(event);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  auto item = [&](int token, bool enabled, auto slot) {
    QAction* action = menu.addAction(UiToken(IDS_FIELD_EDIT_MENU, token));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, slot);
  };
  syncSelection();
  item(0, canCut(), &FieldEdit::cutText);
  item(1, m_model.HasSelection(), &FieldEdit::copyText);
  item(2, canPaste(), &FieldEdit::pasteText);
  item(3, m_model.HasSelection() && canDelete(), &FieldEdit::deleteForward);
  menu.addSeparator();
  item(4, !m_model.Text().empty(), &QPlainTextEdit::selectAll);
  menu.exec(event->globalPos());
}

bool FieldEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source && source->hasText();
}

void FieldEdit::insertFromMimeData(const QMimeData* source) {
  // Reached by the X11 middle-button paste; converted like every paste.
  if (source && source->hasText()) pasteString(source->text());
}

QMimeData* FieldEdit::createMimeDataFromSelection() const {
  syncSelection();
  auto* data = new QMimeData;
  QString text = QStringFromCp1250(FieldEditModel::ConvertForCopy(m_model.SelectedText()));
  // Programs here end lines with LF alone.
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  data->setText(text);
  return data;
}

void FieldEdit::scrollContentsBy(int dx, int dy) {
  QPlainTextEdit::scrollContentsBy(dx, dy);
  alignCaptions();
}

void FieldEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  alignCaptions();
}
