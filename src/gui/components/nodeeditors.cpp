#include "gui/components/nodeeditors.h"

#include "gui/components/shownnumber.h"
#include "ui_nodeeditors.h"

#include <QDoubleValidator>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString highlightStyle = QStringLiteral("background: rgb(255, 130, 130);");
constexpr double unbounded = std::numeric_limits<double>::infinity();
// Margin and spacing of the editor strip.
constexpr int stripMargin = 2;
constexpr int stripSpacing = 2;

QDoubleValidator* validatorOf(QLineEdit* editor)
{
  return static_cast<QDoubleValidator*>(const_cast<QValidator*>(editor->validator()));
}

} // namespace

NodeEditors::NodeEditors(QWidget* parent)
    : QWidget(parent), ui(new Ui::NodeEditors), _rangeLow(-unbounded), _rangeHigh(unbounded)
{
  ui->setupUi(this);
  QLineEdit* first = ui->mockupEdt;
  auto* validator = new QDoubleValidator(first);
  validator->setLocale(QLocale::c());
  first->setValidator(validator);
  _editorHeight = first->sizeHint().height();
  // The strip places its editors itself: a layout of 100,000 widgets costs
  // seconds on every change, and most of them would never be seen.
  delete ui->editLayout;
  ui->editLayout = nullptr;
  _editors.push_back(first);
  _texts.push_back(first->text());
  _values.push_back(QLocale::c().toDouble(first->text()));
  _bottoms.push_back(-unbounded);
  _tops.push_back(unbounded);
  _highlights.push_back(false);
  ui->scrollArea->viewport()->installEventFilter(this);
  connect(ui->scrollArea->horizontalScrollBar(), &QScrollBar::valueChanged, this,
          &NodeEditors::createVisibleEditors);
  connectEditors();
  layoutStrip();
}

NodeEditors::~NodeEditors()
{
  // A focused editor would otherwise report into a half-destroyed widget.
  disconnectEditors();
  delete ui;
}

QLineEdit* NodeEditors::firstEditor() const
{
  return _editors.front();
}

QLineEdit* NodeEditors::lastEditor() const
{
  return editor(_count - 1);
}

QLineEdit* NodeEditors::editor(std::size_t index) const
{
  return const_cast<NodeEditors*>(this)->ensureEditor(index);
}

std::size_t NodeEditors::createdEditors() const
{
  return std::size_t(std::count_if(_editors.begin(), _editors.end(),
                                   [](const QLineEdit* e) { return e != nullptr; }));
}

QString NodeEditors::editorText(double value, int decimals)
{
  // Three decimals cut the fourth, as editors always have: sessions store
  // these texts, and the ones saved before keep their values.
  if (decimals <= ShownNumber::minDecimals && std::abs(value) < 1e16) {
    QString text = QString::number(value, 'f', ShownNumber::minDecimals + 1);
    text.chop(1);
    return text;
  }
  return ShownNumber::text(value, decimals);
}

QLineEdit* NodeEditors::ensureEditor(std::size_t index)
{
  if (index >= _count)
    return nullptr;
  QLineEdit*& e = _editors[index];
  if (!e) {
    e = createEditor(index);
    placeEditor(index, e);
    // Tab moves to the neighbours, whatever order the editors were made in.
    if (index > 0 && _editors[index - 1])
      setTabOrder(_editors[index - 1], e);
    if (index + 1 < _count && _editors[index + 1])
      setTabOrder(e, _editors[index + 1]);
    e->show();
  }
  return e;
}

QLineEdit* NodeEditors::createEditor(std::size_t index)
{
  QLineEdit* mockup = ui->mockupEdt;
  auto* e = new QLineEdit(ui->edit);
  e->setObjectName(QString::number(index));
  auto* validator = new QDoubleValidator(_bottoms[index], _tops[index], 1000, e);
  validator->setLocale(QLocale::c());
  e->setValidator(validator);
  e->setMinimumSize(mockup->minimumSize());
  e->setMaximumSize(mockup->maximumSize());
  e->setSizePolicy(mockup->sizePolicy());
  e->setReadOnly(_readOnly);
  e->setText(_texts[index]);
  if (_highlights[index])
    e->setStyleSheet(highlightStyle);
  if (_connected) {
    e->installEventFilter(this);
    connect(e, &QLineEdit::editingFinished, this, &NodeEditors::onEditingFinished);
  }
  return e;
}

void NodeEditors::setEditorsCount(size_t count)
{
  if (count == 0) {
    setEnabled(false);
    return;
  }
  setEnabled(true);
  if (count == _count)
    return;
  for (std::size_t i = count; i < _editors.size(); ++i) {
    if (QLineEdit* e = _editors[i]) {
      e->removeEventFilter(this);
      e->disconnect(this);
      delete e;
    }
  }
  _editors.resize(count, nullptr);
  _values.resize(count, 0.0);
  _texts.resize(count, QStringLiteral("0"));
  _bottoms.resize(count, -unbounded);
  _tops.resize(count, unbounded);
  _highlights.resize(count, false);
  _count = count;
  // The last editor has no right neighbour (any more).
  setTop(count - 1, _rangeHigh);
  layoutStrip();
}

void NodeEditors::setRange(double low, double high)
{
  _rangeLow = low;
  _rangeHigh = high;
  setBottom(0, low);
  setTop(_count - 1, high);
}

void NodeEditors::layoutStrip()
{
  QWidget* viewport = ui->scrollArea->viewport();
  const QLineEdit* mockup = ui->mockupEdt;
  const int n = int(std::min<std::size_t>(_count, QWIDGETSIZE_MAX));
  // As a box layout would share the width: up to the widest, at least the narrowest.
  const int room = viewport->width() - 2 * stripMargin - (n - 1) * stripSpacing;
  _editorWidth = std::max(mockup->minimumWidth(), std::min(mockup->maximumWidth(), room / n));
  const qint64 width = 2 * stripMargin + qint64(n) * _editorWidth + qint64(n - 1) * stripSpacing;
  ui->edit->setMinimumWidth(int(std::min<qint64>(width, QWIDGETSIZE_MAX)));
  for (std::size_t i = 0; i < _editors.size(); ++i)
    if (QLineEdit* e = _editors[i])
      placeEditor(i, e);
  createVisibleEditors();
}

void NodeEditors::placeEditor(std::size_t index, QLineEdit* e) const
{
  const int y = std::max(stripMargin, (ui->scrollArea->viewport()->height() - _editorHeight) / 2);
  e->setGeometry(stripMargin + int(index) * (_editorWidth + stripSpacing), y, _editorWidth,
                 _editorHeight);
}

void NodeEditors::createVisibleEditors()
{
  const int slot = _editorWidth + stripSpacing;
  const int left = ui->scrollArea->horizontalScrollBar()->value();
  const int right = left + ui->scrollArea->viewport()->width();
  const std::size_t first = std::size_t(std::max(0, (left - stripMargin) / slot));
  const std::size_t last = std::min(_count, std::size_t(std::max(0, right / slot + 1)));
  for (std::size_t i = first; i < last; ++i)
    ensureEditor(i);
}

void NodeEditors::setTop(std::size_t index, double top)
{
  _tops[index] = top;
  if (_editors[index])
    validatorOf(_editors[index])->setTop(top);
}

void NodeEditors::setBottom(std::size_t index, double bottom)
{
  _bottoms[index] = bottom;
  if (_editors[index])
    validatorOf(_editors[index])->setBottom(bottom);
}

void NodeEditors::setNeighbourLimits(std::size_t index, double value)
{
  if (index > 0)
    setTop(index - 1, value);
  if (index + 1 < _count)
    setBottom(index + 1, value);
}

void NodeEditors::showValue(std::size_t index)
{
  const QString text = editorText(_values[index], _decimals);
  setNeighbourLimits(index, QLocale::c().toDouble(text));
  _texts[index] = text;
  if (_editors[index])
    _editors[index]->setText(text);
}

bool NodeEditors::updateDecimals()
{
  const int d = ShownNumber::decimalsForNodes(_values);
  if (d == _decimals)
    return false;
  _decimals = d;
  for (std::size_t i = 0; i < _count; ++i)
    showValue(i);
  return true;
}

void NodeEditors::setEditorValue(size_t index, double value)
{
  if (index >= _count)
    return;
  _values[index] = value;
  if (!updateDecimals())
    showValue(index);
}

void NodeEditors::setEditorValues(const std::vector<double>& values)
{
  const std::size_t n = std::min(values.size(), _count);
  std::copy(values.begin(), values.begin() + std::ptrdiff_t(n), _values.begin());
  if (!updateDecimals())
    for (std::size_t i = 0; i < n; ++i)
      showValue(i);
}

void NodeEditors::onEditingFinished()
{
  const std::size_t index = indexOf(sender());
  if (index >= _count)
    return;
  QLineEdit* e = _editors[index];
  const QString text = e->text();
  if (text == _texts[index])
    return;
  bool ok = false;
  const double value = QLocale::c().toDouble(text, &ok);
  // The validators work on the shown (truncated) neighbours; the nodes
  // themselves must stay strictly ascending.
  const bool aboveLow = index > 0 ? value > _values[index - 1] : value >= _rangeLow;
  const bool belowHigh = index + 1 < _count ? value < _values[index + 1] : value <= _rangeHigh;
  if (!ok || !std::isfinite(value) || !aboveLow || !belowHigh) {
    e->setText(_texts[index]);
    return;
  }
  _values[index] = value;
  // A new smallest spacing may ask for other decimals: every text follows.
  // Otherwise the typed text shows as a reopened session would show it, so
  // that saving twice writes the same text.
  if (!updateDecimals())
    showValue(index);
  emit valueChanged(index, value);
}

bool NodeEditors::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == ui->scrollArea->viewport()) {
    if (event->type() == QEvent::Resize)
      layoutStrip();
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    const bool insert = k->key() == Qt::Key_Insert, remove = k->key() == Qt::Key_Delete;
    const std::size_t index = indexOf(watched);
    if ((insert || remove) && k->modifiers() == Qt::AltModifier && index < _count) {
      if (!_readOnly)
        emit insert ? addNodeRequested(index) : removeNodeRequested(index);
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    const std::size_t index = indexOf(watched);
    if (index < _count) {
      if (event->type() == QEvent::FocusIn) {
        // So that Tab and Backtab find the neighbours.
        if (index > 0)
          ensureEditor(index - 1);
        ensureEditor(index + 1);
        emit editorEnterFocus(index);
      } else {
        // Text the validator still refuses gives way to the last value.
        if (!_editors[index]->hasAcceptableInput())
          _editors[index]->setText(_texts[index]);
        emit editorLeaveFocus(index);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void NodeEditors::highlighEditor(size_t index, bool highlight)
{
  if (index >= _count || _highlights[index] == highlight)
    return;
  _highlights[index] = highlight;
  if (_editors[index])
    _editors[index]->setStyleSheet(highlight ? highlightStyle : QString());
}

void NodeEditors::setReadOnly(bool readOnly)
{
  if (readOnly == _readOnly)
    return;
  _readOnly = readOnly;
  for (QLineEdit* e : _editors)
    if (e)
      e->setReadOnly(readOnly);
}

void NodeEditors::connectEditors()
{
  for (QLineEdit* e : _editors) {
    if (!e)
      continue;
    e->installEventFilter(this);
    connect(e, &QLineEdit::editingFinished, this, &NodeEditors::onEditingFinished,
            Qt::UniqueConnection);
  }
  _connected = true;
}

void NodeEditors::disconnectEditors()
{
  for (QLineEdit* e : _editors) {
    if (!e)
      continue;
    e->removeEventFilter(this);
    disconnect(e, &QLineEdit::editingFinished, this, &NodeEditors::onEditingFinished);
  }
  _connected = false;
}

std::size_t NodeEditors::indexOf(const QObject* editor) const
{
  // Editors after the form's first one are named after their index; the name
  // is checked against the list so that no other object passes for an editor.
  if (!editor)
    return _editors.size();
  if (editor == _editors.front())
    return 0;
  bool ok = false;
  const qulonglong i = editor->objectName().toULongLong(&ok);
  if (ok && i < _editors.size() && _editors[std::size_t(i)] == editor)
    return std::size_t(i);
  return _editors.size();
}
