// SPDX-License-Identifier: GPL-3.0-or-later
#include "extras/TipDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "settings/Profile.h"
#include "views/GuiText.h"
#include "views/Messages.h"

#ifndef DUXEL_DATA_DIR
#define DUXEL_DATA_DIR "/usr/share/duxel"
#endif

namespace {
const QString kTipsName = QStringLiteral("Tips.txt");
}

QString FindTipsFile() {
  QStringList places = {QCoreApplication::applicationDirPath(),
                        // The program installed under PREFIX/bin, its data under PREFIX/share.
                        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/duxel"),
                        QStringLiteral(DUXEL_DATA_DIR)};
  for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    places << dir + QStringLiteral("/duxel");
  for (const QString& dir : places) {
    const QFileInfo file(QDir(dir), kTipsName);
    if (file.isFile()) return file.canonicalFilePath();
  }
  return {};
}

bool ShowTipsAtStartUp(const Profile& profile) {
  return profile.getInt(kTipSection, "StartUp", 0) == 0;
}

void ShowTipOfTheDay(Profile& profile, QWidget* parent) {
  TipDialog dialog(profile, FindTipsFile(), parent);
  dialog.exec();
}

void ShowTipsOnStartUp(Profile& profile, QWidget* parent) {
  if (ShowTipsAtStartUp(profile)) ShowTipOfTheDay(profile, parent);
}

TipDialog::TipDialog(Profile& profile, const QString& tipsPath, QWidget* parent)
    : QDialog(parent), m_profile(profile) {
  setWindowTitle(QStringLiteral("Tip dne"));
  setObjectName(QStringLiteral("TipDialog"));

  m_picture = new QWidget;  // the heading and the bulb are painted over it
  m_picture->setFixedWidth(72);
  m_text = new QLabel;
  m_text->setObjectName(QStringLiteral("tipText"));
  m_text->setWordWrap(true);
  m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_text->setMinimumSize(340, 110);
  m_text->setContentsMargins(8, 44, 8, 8);
  m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_startUp = new QCheckBox(QStringLiteral("Zobrazovat Tipy při &startu"));
  m_startUp->setObjectName(QStringLiteral("showAtStartUp"));
  m_next = new QPushButton(QStringLiteral("&Další Tip"));
  m_next->setObjectName(QStringLiteral("nextTip"));
  auto* close = new QPushButton(QStringLiteral("&Zavřít"));
  close->setObjectName(QStringLiteral("close"));
  close->setDefault(true);
  connect(m_next, &QPushButton::clicked, this, &TipDialog::nextTip);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->setSpacing(0);
  top->addWidget(m_picture);
  top->addWidget(m_text, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_startUp);
  bottom->addStretch();
  bottom->addWidget(m_next);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(bottom);

  m_startUp->setChecked(m_profile.getInt(kTipSection, "StartUp", 0) == 0);
  qint64 position = m_profile.getInt(kTipSection, "FilePos", 0);

  if (tipsPath.isEmpty() || !m_file.open(tipsPath)) {
    m_tip = UiText(IDS_TIPS_NOT_FOUND);
    m_next->setEnabled(false);
  } else {
    // An edited file starts again at its first tip.
    const QString stamp = m_file.timeStamp();
    if (QString::fromStdString(m_profile.getString(kTipSection, "TimeStamp", "")) != stamp) {
      position = 0;
      m_profile.writeString(kTipSection, "TimeStamp", stamp.toStdString());
    }
    if (!m_file.seek(position)) {
      // A position past the end (the file got shorter in the same second) starts again.
      if (!m_file.seek(0)) AskStringMessage(this, IDS_TIPS_READ_ERROR, QMessageBox::Warning);
    }
    nextTip();
  }
  m_text->setText(m_tip);
}

QString TipDialog::tipText() const { return m_tip; }

void TipDialog::nextTip() {
  QString tip;
  switch (m_file.next(tip)) {
    case TipFile::Result::Tip:
      m_tip = tip;
      break;
    case TipFile::Result::NoTip:
      m_tip = UiText(IDS_NO_TIPS);
      m_next->setEnabled(false);
      break;
    case TipFile::Result::Error:
      AskStringMessage(this, IDS_TIPS_READ_ERROR, QMessageBox::Warning);
      break;
  }
  m_text->setText(m_tip);
}

void TipDialog::done(int result) {
  m_profile.writeInt(kTipSection, "StartUp", m_startUp->isChecked() ? 0 : 1);
  if (m_file.isOpen()) {
    m_profile.writeInt(kTipSection, "FilePos", static_cast<int>(m_file.position()));
    m_file.close();
  }
  QDialog::done(result);
}

void TipDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect pictureRect = m_picture->geometry();
  const QRect textRect = m_text->geometry();
  const QRect whole = pictureRect.united(textRect);
  painter.fillRect(whole, palette().base());
  painter.fillRect(pictureRect, QColor(0x80, 0x80, 0x80));
  painter.setPen(palette().mid().color());
  painter.drawRect(whole.adjusted(0, 0, -1, -1));

  // A light bulb in the grey strip.
  const QPointF centre(pictureRect.center().x() + 1, pictureRect.top() + 30);
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
  painter.setBrush(QColor(0xff, 0xf0, 0x80));
  painter.drawEllipse(centre, 13, 13);
  painter.setBrush(QColor(0xc0, 0xc0, 0xc0));
  painter.drawRect(QRectF(centre.x() - 6, centre.y() + 12, 12, 9));

  // The heading "Víte, že…".
  QFont heading = font();
  heading.setPointSizeF(heading.pointSizeF() * 1.6);
  heading.setBold(true);
  painter.setFont(heading);
  painter.setPen(palette().text().color());
  painter.drawText(textRect.adjusted(8, 6, -8, 0), Qt::AlignLeft | Qt::AlignTop,
                   UiText(IDS_TIP_HEADING));
  painter.setPen(palette().mid().color());
  painter.drawLine(textRect.left() + 8, textRect.top() + 38, textRect.right() - 8,
                   textRect.top() + 38);
}
