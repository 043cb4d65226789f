// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/exchange/MappingControl.h"

#include <functional>
#include <iterator>

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScrollBar>

namespace {

// The pointers of the two choices: an arrow with a small link that points the way the next
// click will link (to the right when a source waits for its target, to the left when a
// target takes sources).
QCursor LinkCursor(bool towardsTargets) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF arrow[] = {{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}};
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(arrow, int(std::size(arrow)));
  // The link: a short line with a dot at the near end and a head at the far end.
  p.setPen(QPen(Qt::black, 2));
  const qreal y = 25, from = towardsTargets ? 12 : 29, to = towardsTargets ? 29 : 12;
  p.drawLine(QPointF(from, y), QPointF(to, y));
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(from, y), 2, 2);
  const qreal back = towardsTargets ? -4 : 4;
  const QPointF head[] = {{to, y}, {to + back, y - 4}, {to + back, y + 4}};
  p.drawPolygon(head, 3);
  p.end();
  return QCursor(pixmap, 1, 1);
}

// The strip between the lists; the control draws it.
class LinkStrip : public QWidget {
 public:
  explicit LinkStrip(MappingControl* control) : QWidget(control), m_control(control) {
    setObjectName(QStringLiteral("linkStrip"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    const int w = width();
    for (const auto& [source, target] : m_control->model().Links()) {
      const int ys = m_control->rowMiddle(m_control->sourceList(), source);
      const int yt = m_control->rowMiddle(m_control->targetList(), target);
      const QPoint line[] = {{0, ys}, {w / 4, ys}, {w * 3 / 4, yt}, {w, yt}};
      p.drawPolyline(line, 4);
    }
  }

 private:
  MappingControl* m_control;
};

// Clicks on the lists reach the control before the lists select anything, so that the rules
// see the selection as it was; the control then selects the clicked row itself.
class ClickFilter : public QObject {
 public:
  ClickFilter(QListWidget* list, std::function<void(int)> clicked)
      : QObject(list), m_list(list), m_clicked(std::move(clicked)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
      return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    const QModelIndex index = m_list->indexAt(mouse->position().toPoint());
    m_list->setFocus(Qt::MouseFocusReason);
    if (index.isValid()) m_clicked(index.row());
    return true;
  }

 private:
  QListWidget* m_list;
  std::function<void(int)> m_clicked;
};

}  // namespace

MappingControl::MappingControl(QWidget* parent)
    : QWidget(parent),
      m_sources(new QListWidget(this)),
      m_targets(new QListWidget(this)),
      m_strip(new LinkStrip(this)),
      m_sourceChosenCursor(LinkCursor(true)),
      m_targetChosenCursor(LinkCursor(false)) {
  m_sources->setObjectName(QStringLiteral("sourceList"));
  m_targets->setObjectName(QStringLiteral("targetList"));
  for (QListWidget* list : {m_sources, m_targets}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, m_strip,
            qOverload<>(&QWidget::update));
  }
  m_sources->viewport()->installEventFilter(
      new ClickFilter(m_sources, [this](int row) { sourceClicked(row); }));
  m_targets->viewport()->installEventFilter(
      new ClickFilter(m_targets, [this](int row) { targetClicked(row); }));
  // The keyboard moves the selection without linking anything.
  connect(m_sources, &QListWidget::currentRowChanged, this,
          [this](int row) { m_model.SelectSource(row); });
  connect(m_targets, &QListWidget::currentRowChanged, this,
          [this](int row) { m_model.SelectTarget(row); });
  setMinimumSize(200, 120);
}

void MappingControl::setUp(const QStringList& sources, const QStringList& targets,
                           const std::vector<uint16_t>& pairs) {
  m_model.SetUp(int(sources.size()), int(targets.size()), pairs);
  m_sources->clear();
  m_sources->addItems(sources);
  m_targets->clear();
  m_targets->addItems(targets);
  m_sources->setCurrentRow(sources.isEmpty() ? -1 : 0);
  m_targets->setCurrentRow(targets.isEmpty() ? -1 : 0);
  stateChanged();
  m_strip->update();
}

void MappingControl::setPairs(const std::vector<uint16_t>& pairs) {
  m_model.SetPairs(pairs);
  m_strip->update();
}

int MappingControl::rowMiddle(QListWidget* list, int row) const {
  const QRect r = list->visualItemRect(list->item(row));
  return list->viewport()->mapTo(this, r.center()).y() - m_strip->y();
}

void MappingControl::resizeEvent(QResizeEvent*) {
  const int w = width(), h = height();
  const int listWidth = w * 2 / 5;
  m_sources->setGeometry(0, 0, listWidth, h);
  m_targets->setGeometry(w - listWidth, 0, listWidth, h);
  m_strip->setGeometry(listWidth, 0, w - 2 * listWidth, h);
}

void MappingControl::sourceClicked(int row) {
  const bool changed = m_model.ClickSource(row);
  m_sources->setCurrentRow(m_model.source());
  stateChanged();
  if (changed) {
    m_strip->update();
    emit linksChanged();
  }
}

void MappingControl::targetClicked(int row) {
  const bool changed = m_model.ClickTarget(row);
  m_targets->setCurrentRow(m_model.target());
  stateChanged();
  if (changed) {
    m_strip->update();
    emit linksChanged();
  }
}

void MappingControl::stateChanged() {
  switch (m_model.state()) {
    case MappingControlModel::State::Idle:
      unsetCursor();
      break;
    case MappingControlModel::State::SourceChosen:
      setCursor(m_sourceChosenCursor);
      break;
    case MappingControlModel::State::TargetChosen:
      setCursor(m_targetChosenCursor);
      break;
  }
}
