// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QString>

#include "records/CCasTime.h"
#include "views/GuiText.h"

// Small pieces the record forms share.

// An edit of a form, named by its control id.
inline QLineEdit* FormEdit(QWidget* parent, int id, int maxLength = 20) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(id));
  edit->setMaxLength(maxLength);
  return edit;
}

inline QLabel* FormLabel(QWidget* parent, int id, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QStringLiteral("label%1").arg(id));
  return label;
}

// The date of a value in its display form, or "" when the value has no day.
inline QString DateField(const CCasTime& value) {
  if (value.m_day < 0) return QString();
  std::string text;
  value.FormatDisplay(text, false);
  return QStringFromCp1250(text);
}

// The time of a value in its display form, or "" when the value has no hour.
inline QString TimeField(const CCasTime& value) {
  if (value.m_hour < 0) return QString();
  std::string text;
  value.FormatDisplay(text, true);
  return QStringFromCp1250(text);
}

inline std::string Cp(const QLineEdit* edit) { return Cp1250FromQString(edit->text()); }
