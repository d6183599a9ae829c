#include "gui/components/nodeeditors.h"

#include "ui_nodeeditors.h"

#include <QDoubleValidator>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>

#include <cmath>
#include <limits>

namespace {

const QString highlightStyle = QStringLiteral("background: rgb(255, 130, 130);");

QDoubleValidator* validatorOf(QLineEdit* editor)
{
  return static_cast<QDoubleValidator*>(const_cast<QValidator*>(editor->validator()));
}

} // namespace

NodeEditors::NodeEditors(QWidget* parent) : QWidget(parent), ui(new Ui::NodeEditors)
{
  ui->setupUi(this);
  auto* validator = new QDoubleValidator(ui->mockupEdt);
  validator->setLocale(QLocale::c());
  ui->mockupEdt->setValidator(validator);
  _editors.push_back(ui->mockupEdt);
  _texts.append(ui->mockupEdt->text());
  _values.push_back(QLocale::c().toDouble(ui->mockupEdt->text()));
  connectEditors();
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
  return _editors.back();
}

QLineEdit* NodeEditors::editor(std::size_t index) const
{
  return index < _editors.size() ? _editors[index] : nullptr;
}

QString NodeEditors::editorText(double value)
{
  QString text = QString::number(value, 'f', 4);
  text.chop(1);
  return text;
}

QLineEdit* NodeEditors::createEditor(std::size_t index)
{
  QLineEdit* mockup = ui->mockupEdt;
  auto* e = new QLineEdit(ui->edit);
  e->setObjectName(QString::number(index));
  auto* validator = new QDoubleValidator(e);
  validator->setLocale(QLocale::c());
  e->setValidator(validator);
  e->setMinimumSize(mockup->minimumSize());
  e->setMaximumSize(mockup->maximumSize());
  e->setSizePolicy(mockup->sizePolicy());
  e->setReadOnly(_readOnly);
  e->setText(QStringLiteral("0"));
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
  _values.resize(count, 0.0);
  while (_editors.size() > count) {
    QLineEdit* e = _editors.back();
    _editors.pop_back();
    _texts.removeLast();
    ui->editLayout->removeWidget(e);
    e->removeEventFilter(this);
    e->disconnect(this);
    delete e;
  }
  // The new last editor has no right neighbour any more.
  validatorOf(_editors.back())->setTop(std::numeric_limits<double>::infinity());
  while (_editors.size() < count) {
    QLineEdit* e = createEditor(_editors.size());
    ui->editLayout->addWidget(e);
    _editors.push_back(e);
    _texts.append(e->text());
  }
  _count = count;
}

void NodeEditors::setNeighbourLimits(std::size_t index, double value)
{
  if (index > 0)
    validatorOf(_editors[index - 1])->setTop(value);
  if (index + 1 < _count)
    validatorOf(_editors[index + 1])->setBottom(value);
}

void NodeEditors::setEditorValue(size_t index, double value)
{
  if (index >= _count)
    return;
  _values[index] = value;
  const QString text = editorText(value);
  setNeighbourLimits(index, QLocale::c().toDouble(text));
  _texts[int(index)] = text;
  _editors[index]->setText(text);
}

void NodeEditors::onEditingFinished()
{
  const std::size_t index = indexOf(sender());
  if (index >= _count)
    return;
  QLineEdit* e = _editors[index];
  const QString text = e->text();
  if (text == _texts[int(index)])
    return;
  bool ok = false;
  const double value = QLocale::c().toDouble(text, &ok);
  // The validators work on the shown (truncated) neighbours; the nodes
  // themselves must stay strictly ascending.
  const double low = index > 0 ? _values[index - 1] : -std::numeric_limits<double>::infinity();
  const double high =
      index + 1 < _count ? _values[index + 1] : std::numeric_limits<double>::infinity();
  if (!ok || !std::isfinite(value) || !(low < value && value < high)) {
    e->setText(_texts[int(index)]);
    return;
  }
  _values[index] = value;
  _texts[int(index)] = text;
  setNeighbourLimits(index, value);
  emit valueChanged(index, value);
}

bool NodeEditors::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    const std::size_t index = indexOf(watched);
    if (index < _count) {
      if (event->type() == QEvent::FocusIn) {
        emit editorEnterFocus(index);
      } else {
        // Text the validator still refuses gives way to the last value.
        if (!_editors[index]->hasAcceptableInput())
          _editors[index]->setText(_texts[int(index)]);
        emit editorLeaveFocus(index);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void NodeEditors::highlighEditor(size_t index, bool highlight)
{
  if (index < _count)
    _editors[index]->setStyleSheet(highlight ? highlightStyle : QString());
}

void NodeEditors::setReadOnly(bool readOnly)
{
  if (readOnly == _readOnly)
    return;
  _readOnly = readOnly;
  for (QLineEdit* e : _editors)
    e->setReadOnly(readOnly);
}

void NodeEditors::connectEditors()
{
  for (QLineEdit* e : _editors) {
    e->installEventFilter(this);
    connect(e, &QLineEdit::editingFinished, this, &NodeEditors::onEditingFinished,
            Qt::UniqueConnection);
  }
  _connected = true;
}

void NodeEditors::disconnectEditors()
{
  for (QLineEdit* e : _editors) {
    e->removeEventFilter(this);
    disconnect(e, &QLineEdit::editingFinished, this, &NodeEditors::onEditingFinished);
  }
  _connected = false;
}

std::size_t NodeEditors::indexOf(const QObject* editor) const
{
  std::size_t i = 0;
  while (i < _editors.size() && _editors[i] != editor)
    ++i;
  return i;
}
