// SPDX-License-Identifier: GPL-3.0-or-later
#include "extras/AboutDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef DUXEL_VERSION
#define DUXEL_VERSION "0.0.0"
#endif

namespace {
QString Compiler() {
#if defined(__clang__)
  return QStringLiteral("clang %1.%2").arg(__clang_major__).arg(__clang_minor__);
#elif defined(__GNUC__)
  return QStringLiteral("g++ %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__);
#else
  return QStringLiteral("C++");
#endif
}
}  // namespace

void InitExtrasResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(extras);
    return true;
  }();
  (void)done;
}

QString DuxelVersion() { return QStringLiteral(DUXEL_VERSION); }

QString AboutText() {
  return QStringLiteral(
             "Duxel %1\n"
             "Správa dat digitálních diářů Casio SF\n"
             "Sestaveno: %2 %3, Qt %4 (běží s Qt %5), %6\n"
             "Licence: GNU General Public License verze 3 nebo novější (GPL-3.0-or-later).\n"
             "Tento program je svobodný software a je šířen BEZ JAKÉKOLI ZÁRUKY.")
      .arg(DuxelVersion(), QStringLiteral(__DATE__), QStringLiteral(__TIME__),
           QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()), Compiler());
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("O aplikaci Duxel"));
  setObjectName(QStringLiteral("AboutDialog"));
  InitExtrasResources();

  auto* icon = new QLabel;
  icon->setPixmap(QPixmap(QStringLiteral(":/duxel/duxel-128.png")));
  icon->setAlignment(Qt::AlignTop);

  auto* name = new QLabel(
      QStringLiteral("<b style='font-size:16pt'>Duxel %1</b>").arg(DuxelVersion().toHtmlEscaped()));
  name->setObjectName(QStringLiteral("aboutName"));
  const QStringList lines = AboutText().split(QLatin1Char('\n'));
  auto* info = new QLabel(lines.mid(1).join(QLatin1Char('\n')));
  info->setObjectName(QStringLiteral("aboutText"));
  info->setWordWrap(true);
  info->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* licence = new QLabel(QStringLiteral(
      "<a href='https://www.gnu.org/licenses/gpl-3.0.html'>Plné znění licence GPL 3</a>"));
  licence->setOpenExternalLinks(true);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(info);
  text->addWidget(licence);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(text, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
  QPushButton* copy =
      buttons->addButton(QStringLiteral("&Kopírovat"), QDialogButtonBox::ActionRole);
  copy->setObjectName(QStringLiteral("copyAbout"));
  connect(copy, &QPushButton::clicked, this,
          [] { QGuiApplication::clipboard()->setText(AboutText()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}
