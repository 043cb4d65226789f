// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TransferDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "views/GuiText.h"
#include "views/Messages.h"

namespace {
constexpr std::array<int, 4> kRates = {1200, 2400, 4800, 9600};

QRadioButton* Radio(const QString& text, const QString& name, QButtonGroup* group,
                    QLayout* layout) {
  auto* radio = new QRadioButton(text);
  radio->setObjectName(name);
  group->addButton(radio);
  layout->addWidget(radio);
  return radio;
}
}  // namespace

TransferDialog::TransferDialog(const LinkSettings& settings, int maxSpeed, QWidget* parent,
                               const QList<SerialPortChoice>& ports)
    : QDialog(parent), m_settings(settings), m_ports(ports) {
  setWindowTitle(QStringLiteral("Parametry přenosu"));
  setObjectName(QStringLiteral("TransferDialog"));

  auto* parityBox = new QGroupBox(QStringLiteral("Parita"));
  auto* parityLayout = new QVBoxLayout(parityBox);
  auto* parityGroup = new QButtonGroup(this);
  const QStringList parityTexts = {QStringLiteral("Žád&ná"), QStringLiteral("&Lichá"),
                                   QStringLiteral("Su&dá")};
  for (int i = 0; i < 3; ++i)
    m_parity[i] =
        Radio(parityTexts[i], QStringLiteral("parity%1").arg(i), parityGroup, parityLayout);

  auto* bitsBox = new QGroupBox(QStringLiteral("Datové bity"));
  auto* bitsLayout = new QVBoxLayout(bitsBox);
  auto* bitsGroup = new QButtonGroup(this);
  m_bits[0] = Radio(QStringLiteral("&7 bitů"), QStringLiteral("bits7"), bitsGroup, bitsLayout);
  m_bits[1] = Radio(QStringLiteral("8 bitů"), QStringLiteral("bits8"), bitsGroup, bitsLayout);
  bitsLayout->addStretch();

  auto* baudBox = new QGroupBox(QStringLiteral("Rychlost (BPS)"));
  auto* baudLayout = new QVBoxLayout(baudBox);
  auto* baudGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i)
    m_baud[i] = Radio(QString::number(kRates[i]), QStringLiteral("baud%1").arg(kRates[i]),
                      baudGroup, baudLayout);

  auto* portBox = new QGroupBox(QStringLiteral("Port a zařízení"));
  auto* portLayout = new QGridLayout(portBox);
  auto* portGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    m_port[i] = new QRadioButton(QStringLiteral("COM%1").arg(i + 1));
    m_port[i]->setObjectName(QStringLiteral("port%1").arg(i + 1));
    portGroup->addButton(m_port[i]);
    portLayout->addWidget(m_port[i], i, 0);

    QComboBox* device = new QComboBox;
    device->setObjectName(QStringLiteral("device%1").arg(i + 1));
    device->setEditable(true);
    device->setInsertPolicy(QComboBox::NoInsert);
    device->setMinimumContentsLength(18);
    device->setToolTip(QStringLiteral("Zařízení, které zastupuje COM%1: vyberte ze seznamu "
                                      "nebo napište cestu (např. /dev/pts/3)")
                           .arg(i + 1));
    for (const SerialPortChoice& port : m_ports) {
      device->addItem(port.path);
      device->setItemData(device->count() - 1, port.description, Qt::ToolTipRole);
    }
    device->setEditText(QStringFromCp1250(settings.devices[i]));
    m_device[i] = device;
    portLayout->addWidget(device, i, 1);

    m_deviceNote[i] = new QLabel;
    m_deviceNote[i]->setObjectName(QStringLiteral("deviceNote%1").arg(i + 1));
    m_deviceNote[i]->setMinimumWidth(160);
    portLayout->addWidget(m_deviceNote[i], i, 2);
    connect(device, &QComboBox::editTextChanged, this, [this] { showDeviceState(); });
    connect(m_port[i], &QRadioButton::toggled, this, [this] { showDeviceState(); });
  }
  m_deviceState = new QLabel;
  m_deviceState->setObjectName(QStringLiteral("deviceState"));
  m_deviceState->setWordWrap(true);
  m_deviceState->setTextInteractionFlags(Qt::TextSelectableByMouse);
  portLayout->addWidget(m_deviceState, 4, 0, 1, 3);

  auto* delayLabel = new QLabel(QStringLiteral("Prodleva posílání znaků:"));
  m_delay = new QLineEdit;
  m_delay->setObjectName(QStringLiteral("delay"));
  m_delay->setMaxLength(5);
  m_delay->setFixedWidth(60);
  delayLabel->setBuddy(m_delay);
  auto* delayLayout = new QHBoxLayout;
  delayLayout->addWidget(delayLabel);
  delayLayout->addWidget(m_delay);
  delayLayout->addWidget(new QLabel(QStringLiteral("ms")));
  delayLayout->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Storno"));
  connect(buttons, &QDialogButtonBox::accepted, this, &TransferDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TransferDialog::reject);

  auto* lineRow = new QHBoxLayout;
  lineRow->addWidget(parityBox);
  lineRow->addWidget(bitsBox);
  lineRow->addWidget(baudBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lineRow);
  layout->addWidget(portBox);
  layout->addLayout(delayLayout);
  layout->addWidget(buttons);

  // A diary cannot go faster than its type allows: the stored rate comes down to the top
  // rate, and the rates above it cannot be chosen.
  const int top = CheckBaud(maxSpeed);
  int baud = CheckBaud(settings.baud);
  if (baud > top) baud = top;
  for (int i = 0; i < 4; ++i) {
    m_baud[i]->setEnabled(kRates[i] <= top);
    m_baud[i]->setChecked(kRates[i] == baud);
  }
  m_parity[settings.parity >= 0 && settings.parity <= 2 ? settings.parity : 0]->setChecked(true);
  m_bits[settings.bits == 7 ? 0 : 1]->setChecked(true);
  m_port[settings.port >= 1 && settings.port <= 4 ? settings.port - 1 : 0]->setChecked(true);
  m_delay->setText(QString::number(settings.delay));
  showDeviceState();
}

LinkSettings TransferDialog::settings() const {
  LinkSettings result = m_settings;
  for (int i = 0; i < 3; ++i)
    if (m_parity[i]->isChecked()) result.parity = i;
  result.bits = m_bits[0]->isChecked() ? 7 : 8;
  for (int i = 0; i < 4; ++i) {
    if (m_baud[i]->isChecked()) result.baud = kRates[i];
    if (m_port[i]->isChecked()) result.port = i + 1;
    result.devices[i] = Cp1250FromQString(m_device[i]->currentText().trimmed());
  }
  bool ok = false;
  const int delay = m_delay->text().trimmed().toInt(&ok);
  if (ok && delay >= 1 && delay <= 25) result.delay = delay;
  return result;
}

void TransferDialog::accept() {
  bool ok = false;
  const int delay = m_delay->text().trimmed().toInt(&ok);
  if (!ok || delay < 1 || delay > 25) {
    AskMessage(this, QMessageBox::Warning, UiText(IDS_ENTER_INTEGER).arg(1).arg(25));
    m_delay->setFocus();
    m_delay->selectAll();
    return;
  }
  QDialog::accept();
}

void TransferDialog::showDeviceState() {
  int chosen = 0;
  for (int i = 0; i < 4; ++i) {
    const QString path = m_device[i]->currentText().trimmed();
    QString note;
    for (const SerialPortChoice& port : m_ports)
      if (port.path == path) note = port.description;
    m_deviceNote[i]->setText(note);
    if (m_port[i]->isChecked()) chosen = i;
  }
  const std::string path = Cp1250FromQString(m_device[chosen]->currentText().trimmed());
  const LineResult state = CheckDeviceAccess(path);
  m_deviceState->setText(
      state.ok()
          ? QStringLiteral("COM%1: %2 je k dispozici.").arg(chosen + 1).arg(QStringFromCp1250(path))
          : QStringLiteral("COM%1: ").arg(chosen + 1) + PortFailureDetail(path, state));
}
