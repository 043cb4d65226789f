// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>

// Answers the modal dialogs a test provokes, in order, and writes down what each showed:
// "critical|text", "warning|text", "question|text", "information|text" for message boxes,
// "dialog|window title" for other dialogs. A dialog nobody expected is written down and
// rejected, so that a test fails on the list instead of hanging.
class ModalAnswerer : public QObject {
 public:
  using Action = std::function<void(QWidget*)>;

  ModalAnswerer() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this]() { poll(); });
    m_timer.start();
  }

  ModalAnswerer& then(Action action) {
    m_actions.push_back(std::move(action));
    return *this;
  }

  QStringList seen;           // what each dialog showed, in order
  QStringList detailedTexts;  // the detailed text of each message box

  static Action press(QMessageBox::StandardButton button) {
    return [button](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box && box->button(button)) box->button(button)->click();
    };
  }

  // Types `text` into the dialog's line edit key by key and presses Enter.
  static Action typeAndEnter(const QString& text) {
    return [text](QWidget* w) {
      QLineEdit* edit = w->findChild<QLineEdit*>();
      if (!edit) return;
      edit->setFocus();
      // keyClicks cannot send non-ASCII characters; a key event with the text can.
      for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
      QTest::keyClick(edit, Qt::Key_Return);
    };
  }

  static Action cancel() {
    return [](QWidget* w) {
      if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    };
  }

 private:
  static QString iconName(QMessageBox::Icon icon) {
    switch (icon) {
      case QMessageBox::Critical:
        return QStringLiteral("critical");
      case QMessageBox::Warning:
        return QStringLiteral("warning");
      case QMessageBox::Question:
        return QStringLiteral("question");
      case QMessageBox::Information:
        return QStringLiteral("information");
      default:
        return QStringLiteral("noicon");
    }
  }

  void poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      seen << iconName(box->icon()) + u'|' + box->text();
      detailedTexts << box->detailedText();
    } else {
      seen << QStringLiteral("dialog|") + w->windowTitle();
    }
    if (m_actions.empty()) {
      seen.last() += QStringLiteral(" (unexpected)");
      if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
      return;
    }
    Action action = std::move(m_actions.front());
    m_actions.pop_front();
    action(w);
  }

  QTimer m_timer;
  std::deque<Action> m_actions;
};
