// SPDX-License-Identifier: GPL-3.0-or-later
#include "extras/SplashScreen.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "extras/AboutDialog.h"

SplashScreen::SplashScreen(int lifetime)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(picture()) {
  setObjectName(QStringLiteral("SplashScreen"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(m_picture.deviceIndependentSize().toSize());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
  m_timer.start(lifetime);
  qApp->installEventFilter(this);
}

SplashScreen::~SplashScreen() { qApp->removeEventFilter(this); }

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      // The press still reaches its window: the splash only gets out of the way.
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void SplashScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_picture);
}

QPixmap SplashScreen::picture() {
  const QSize size(460, 260);
  QPixmap pixmap(size);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(0x2b, 0x33, 0x40));
  sky.setColorAt(1, QColor(0x12, 0x16, 0x1c));
  painter.fillRect(pixmap.rect(), sky);
  painter.setPen(QPen(QColor(0xe0, 0x76, 0x2f), 4));
  painter.drawLine(0, size.height() - 2, size.width(), size.height() - 2);

  InitExtrasResources();
  painter.drawPixmap(28, 40, QPixmap(QStringLiteral(":/duxel/duxel-128.png")));

  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(54);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRect(176, 44, 270, 66), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Duxel"));

  QFont text(QStringLiteral("DejaVu Sans"));
  text.setPixelSize(15);
  painter.setFont(text);
  painter.setPen(QColor(0xc9, 0xd8, 0xa8));
  painter.drawText(QRect(178, 112, 270, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("Data digitálních diářů Casio SF\nna vašem počítači"));
  text.setPixelSize(12);
  painter.setFont(text);
  painter.setPen(QColor(0xa0, 0xa8, 0xb4));
  painter.drawText(QRect(178, 200, 270, 40), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Verze %1  ·  GPL-3.0-or-later").arg(DuxelVersion()));
  return pixmap;
}

SplashScreen* ShowSplash(int lifetime) {
  // One picture per run: the program is starting only once.
  static bool shown = false;
  if (shown) return nullptr;
  shown = true;
  auto* splash = new SplashScreen(lifetime);
  splash->show();
  return splash;
}
