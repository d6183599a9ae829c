#include "gui/formulabuilderwidget.h"

#include "gui/appconstants.h"
#include "gui/components/diagnostics.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/formulabuilderhelp.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "midle/session/apppaths.h"
#include "midle/session/formulafile.h"
#include "ui_formulabuilderwidget.h"

#include <qwt_plot.h>

#include <QAbstractItemDelegate>
#include <QCloseEvent>
#include <QDebug>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTextCursor>

#include <cmath>

namespace {

const char* const arrayKey = FormulaFile::arrayKey;
const char* const nameKey = FormulaFile::nameKey;
const char* const expressionKey = FormulaFile::expressionKey;
const char* const selectedRowKey = "selectedRow";
const char* const lowKey = "domainLow";
const char* const highKey = "domainHigh";

// A hand-edited INI value with an unquoted comma comes back as a list.
QString settingText(const QVariant& v)
{
  if (v.type() == QVariant::StringList)
    return v.toStringList().join(QLatin1Char(','));
  return v.toString();
}

// The edits show numbers in the user's locale; a file may hold either form.
bool parseNumber(const QString& text, double& value)
{
  bool ok = false;
  value = QLocale().toDouble(text.trimmed(), &ok);
  if (!ok)
    value = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(value);
}

} // namespace

FormulaBuilderWidget::FormulaBuilderWidget(QWidget* parent)
    : DialogBase(parent), ui(new Ui::FormulaBuilderWidget), help(new FormulaBuilderHelp(this))
{
  ui->setupUi(centralWidget());
  setWindowTitle(centralWidget()->windowTitle());
  setWindowModality(Qt::WindowModal);
  help->setWindowFlags(Qt::Window);
  help->hide();

  splitter = new QSplitter(Qt::Vertical, centralWidget());
  splitter->setObjectName(QStringLiteral("splitter"));
  splitter->addWidget(ui->textEdit);
  splitter->addWidget(ui->plotWidget);
  splitter->setStretchFactor(1, 1);
  delete ui->rightLayout->replaceWidget(ui->splitterPlaceholder, splitter);
  delete ui->splitterPlaceholder;
  ui->splitterPlaceholder = nullptr;

  ui->lowEdt->setValidator(new QDoubleValidator(ui->lowEdt));
  ui->highEdt->setValidator(new QDoubleValidator(ui->highEdt));

  QPushButton* newBtn = buttonBox()->addButton(tr("New"), QDialogButtonBox::ActionRole);
  newBtn->setObjectName(QStringLiteral("newBtn"));
  QPushButton* deleteBtn = buttonBox()->addButton(tr("Delete"), QDialogButtonBox::ActionRole);
  deleteBtn->setObjectName(QStringLiteral("deleteBtn"));
  QPushButton* helpBtn = buttonBox()->addButton(QDialogButtonBox::Help);
  helpBtn->setObjectName(QStringLiteral("helpBtn"));

  connect(newBtn, &QPushButton::clicked, this, &FormulaBuilderWidget::onRegisterBtn_clicked);
  connect(deleteBtn, &QPushButton::clicked, this, &FormulaBuilderWidget::onDeleteBtn_clicked);
  connect(helpBtn, &QPushButton::clicked, help, &QWidget::show);
  connect(ui->lowEdt, &QLineEdit::editingFinished, this,
          &FormulaBuilderWidget::onDomainRange_changed);
  connect(ui->highEdt, &QLineEdit::editingFinished, this,
          &FormulaBuilderWidget::onDomainRange_changed);
  connect(ui->listWidget, &QListWidget::currentRowChanged, this,
          &FormulaBuilderWidget::onList_selectionChanged);
  connect(ui->listWidget, &QListWidget::itemChanged, this,
          &FormulaBuilderWidget::onList_itemChanged);
  connect(ui->listWidget->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          &FormulaBuilderWidget::onList_closeEditor);
  connect(ui->textEdit, &QPlainTextEdit::textChanged, this,
          &FormulaBuilderWidget::onFormula_changed);
  connect(splitter, &QSplitter::splitterMoved, ui->plotWidget, &PlotWidget::replot);
  ui->plotWidget->plot()->setAccessibleName(tr("Preview graph"));
  ui->plotWidget->plot()->setToolTip(tr("The selected formula between Low and High"));

  previewDomain.reset(new PreviewDomain(0.0, 1.0, 10));
  previewFunction.reset(new PreviewFunction(previewDomain.get()));
  setPreviewExpression(QStringLiteral("0"));
  onDomainRange_changed();
  addDefaultFormula();
}

FormulaBuilderWidget::~FormulaBuilderWidget()
{
  // Signals from children that outlive this part of the destruction.
  disconnect(ui->lowEdt, nullptr, this, nullptr);
  disconnect(ui->highEdt, nullptr, this, nullptr);
  disconnect(ui->textEdit, nullptr, this, nullptr);
  disconnect(ui->listWidget, nullptr, this, nullptr);
  disconnect(ui->listWidget->itemDelegate(), nullptr, this, nullptr);
  ui->plotWidget->clear();
  delete ui;
}

void FormulaBuilderWidget::setFormulaDirectory(const QString& directory)
{
  filePath = AppPaths::formulasFile(directory);
  if (QFileInfo::exists(filePath))
    load();
  else
    save();
}

QStringList FormulaBuilderWidget::formulaNames() const
{
  QStringList names;
  for (int i = 0; i < ui->listWidget->count(); ++i)
    names.append(ui->listWidget->item(i)->text());
  return names;
}

QString FormulaBuilderWidget::expression(const QString& name) const
{
  return formulas.value(name);
}

bool FormulaBuilderWidget::hasPendingName() const
{
  if (pendingItem)
    return true;
  for (int i = 0; i < ui->listWidget->count(); ++i)
    if (isDuplicate(ui->listWidget->item(i)))
      return true;
  return false;
}

bool FormulaBuilderWidget::checkExpression(const QString& text, bool showMessage, QString* message,
                                           QString* token, int* position)
{
  const Fn::ExpressionCheck check =
      Fn::FormulaExpression<double, double>::checkExpression(text.toStdString());
  if (check.ok)
    return true;
  const QString msg = QString::fromStdString(check.message);
  if (message)
    *message = msg;
  if (token)
    *token = QString::fromStdString(check.token);
  if (position)
    *position = check.position;
  if (showMessage)
    Prompt::critical(this, tr("Error"), msg);
  return false;
}

void FormulaBuilderWidget::accept()
{
  if (hasPendingName())
    return;
  // An expression that does not parse was never taken into its formula: say
  // so instead of closing without it.
  if (const QListWidgetItem* item = ui->listWidget->currentItem()) {
    const QString text = ui->textEdit->toPlainText();
    QString message;
    if (text != item->data(Qt::UserRole).toString() && !checkExpression(text, false, &message)) {
      Prompt::critical(this, tr("Error"),
                       tr("The formula \"%1\" is not valid: %2\nCorrect it, or press Cancel "
                          "to keep the formula as it was.")
                           .arg(item->text(), message));
      ui->textEdit->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  save();
  DialogBase::accept();
}

void FormulaBuilderWidget::reject()
{
  load();
  DialogBase::reject();
}

void FormulaBuilderWidget::load()
{
  pendingItem = nullptr;
  ui->listWidget->clear();
  FormulaFile file;
  file.read(filePath);
  if (file.isEmpty()) {
    addDefaultFormula();
  } else {
    for (const FormulaFile::Entry& e : file.entries())
      ui->listWidget->addItem(newItem(e.name, e.expression));
    QSettings settings(filePath, QSettings::IniFormat);
    ui->lowEdt->setText(settingText(settings.value(QLatin1String(lowKey), QStringLiteral("0"))));
    ui->highEdt->setText(settingText(settings.value(QLatin1String(highKey), QStringLiteral("1"))));
    bool ok = false;
    int row = settings.value(QLatin1String(selectedRowKey), -1).toInt(&ok);
    if (!ok || row < 0 || row >= ui->listWidget->count())
      row = -1;
    ui->listWidget->setCurrentRow(row);
    onList_selectionChanged(row);
    onDomainRange_changed();
  }
  rebuildMap();
  qCDebug(lcDiagnostics) << "Formulas loaded from" << filePath;
  const int ignored = file.ignoredEntries();
  const QStringList invalid = file.invalidNames();
  if (ignored > 0 || !invalid.isEmpty()) {
    QString text;
    if (ignored > 0)
      text += tr("Ignoring %1 entries without a name or with a name used before.").arg(ignored);
    if (!invalid.isEmpty())
      text += (text.isEmpty() ? QString() : QStringLiteral("\n")) +
              tr("Not valid expressions, taken as 0 until corrected: %1")
                  .arg(invalid.join(QStringLiteral(", ")));
    Prompt::warning(this, tr("Formulas file"),
                    QDir::toNativeSeparators(filePath) + QStringLiteral("\n") + text);
  }
}

void FormulaBuilderWidget::save()
{
  QSettings settings(filePath, QSettings::IniFormat);
  settings.clear();
  settings.beginWriteArray(QLatin1String(arrayKey));
  for (int i = 0; i < ui->listWidget->count(); ++i) {
    const QListWidgetItem* item = ui->listWidget->item(i);
    settings.setArrayIndex(i);
    settings.setValue(QLatin1String(nameKey), item->text());
    settings.setValue(QLatin1String(expressionKey), item->data(Qt::UserRole).toString());
  }
  settings.endArray();
  settings.setValue(QLatin1String(selectedRowKey), ui->listWidget->currentRow());
  settings.setValue(QLatin1String(lowKey), ui->lowEdt->text());
  settings.setValue(QLatin1String(highKey), ui->highEdt->text());
  settings.sync();
  if (settings.status() != QSettings::NoError)
    Prompt::critical(
        this, tr("Error"),
        tr("The formulas could not be saved to \"%1\".").arg(QDir::toNativeSeparators(filePath)));
}

void FormulaBuilderWidget::keyPressEvent(QKeyEvent* event)
{
  // The edit has already reported editingFinished; the default button must not see the key.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (focusWidget() == ui->lowEdt || focusWidget() == ui->highEdt)) {
    event->accept();
    return;
  }
  DialogBase::keyPressEvent(event);
}

void FormulaBuilderWidget::onDomainRange_changed()
{
  auto* senderEdit = qobject_cast<QLineEdit*>(sender());
  const QString invalidStyle = QString::fromLatin1(AppConstants::invalidInputStyle);
  double low = 0.0, high = 0.0;
  if (!parseNumber(ui->lowEdt->text(), low)) {
    ui->lowEdt->setStyleSheet(invalidStyle);
    return;
  }
  if (!parseNumber(ui->highEdt->text(), high)) {
    ui->highEdt->setStyleSheet(invalidStyle);
    return;
  }
  const int parts = qMax(10, ui->plotWidget->canvasWidth());
  const double step = (high - low) / parts;
  // The step must be a positive finite number, or the domain has no points.
  if (!(low < high) || !std::isfinite(step) || !(step > 0.0)) {
    (senderEdit ? senderEdit : ui->highEdt)->setStyleSheet(invalidStyle);
    return;
  }
  ui->lowEdt->setStyleSheet(QString());
  ui->highEdt->setStyleSheet(QString());

  ui->plotWidget->clear();
  previewFunction.reset();
  previewDomain.reset(new PreviewDomain(low, high, unsigned(parts)));
  previewFunction.reset(new PreviewFunction(previewDomain.get()));
  const QListWidgetItem* item = ui->listWidget->currentItem();
  setPreviewExpression(item ? item->data(Qt::UserRole).toString() : QStringLiteral("0"));
  ui->plotWidget->addFunction(previewFunction.get(), QPen(Qt::black));
  ui->plotWidget->replot();
}

void FormulaBuilderWidget::onList_selectionChanged(int index)
{
  Q_UNUSED(index);
  const QListWidgetItem* item = ui->listWidget->currentItem();
  if (item) {
    const QString expr = item->data(Qt::UserRole).toString();
    ui->textEdit->setPlainText(expr);
    setPreviewExpression(expr);
  } else {
    ui->textEdit->clear();
    clearMarking();
    setPreviewExpression(QStringLiteral("0"));
  }
}

void FormulaBuilderWidget::onList_closeEditor(QWidget* editor)
{
  QListWidgetItem* edited = pendingItem ? pendingItem : ui->listWidget->currentItem();
  const auto* line = qobject_cast<QLineEdit*>(editor);
  const QString name = line ? line->text() : (edited ? edited->text() : QString());
  int same = 0;
  for (int i = 0; i < ui->listWidget->count(); ++i)
    if (ui->listWidget->item(i)->text() == name)
      ++same;
  if (same < 2) {
    pendingItem = nullptr;
    return;
  }
  Prompt::critical(this, tr("Item already exists: "),
                   tr("Two items cannot have same name: ") + QLatin1Char('\'') + name +
                       QLatin1Char('\''));
  if (edited) {
    ui->listWidget->setCurrentItem(edited);
    ui->listWidget->editItem(edited);
  }
}

void FormulaBuilderWidget::onList_itemChanged(QListWidgetItem* item)
{
  const QString oldName = item->data(Qt::StatusTipRole).toString();
  const QString newName = item->text();
  // A name shared with another item is refused when its editor closes; the
  // rename counts once the name is unique.
  if (newName == oldName || isDuplicate(item))
    return;
  item->setData(Qt::StatusTipRole, newName);
  rebuildMap();
  // A new item has no references yet: naming it is no rename.
  if (item != pendingItem)
    emit formulaRenamed(oldName, newName);
}

void FormulaBuilderWidget::onRegisterBtn_clicked()
{
  const QString text = ui->textEdit->toPlainText();
  if (!checkExpression(text, true))
    return;
  QListWidgetItem* item = newItem(tr("item name"), text);
  ui->listWidget->addItem(item);
  pendingItem = item;
  ui->listWidget->setCurrentItem(item);
  rebuildMap();
  ui->listWidget->editItem(item);
}

void FormulaBuilderWidget::onDeleteBtn_clicked()
{
  const int row = ui->listWidget->currentRow();
  if (row < 0)
    return;
  QListWidgetItem* item = ui->listWidget->takeItem(row);
  if (item == pendingItem)
    pendingItem = nullptr;
  delete item;
  rebuildMap();
}

void FormulaBuilderWidget::onFormula_changed()
{
  QListWidgetItem* item = ui->listWidget->currentItem();
  if (!item)
    return;
  const QString text = ui->textEdit->toPlainText();
  QString message, token;
  int position = -1;
  if (!checkExpression(text, false, &message, &token, &position)) {
    setPreviewExpression(QStringLiteral("0"));
    ui->textEdit->setStyleSheet(QString::fromLatin1(AppConstants::invalidInputStyle));
    ui->textEdit->setToolTip(message);
    markInvalid(text, token, position);
    return;
  }
  setPreviewExpression(text);
  item->setData(Qt::UserRole, text);
  if (isDuplicate(item))
    rebuildMap();
  else
    formulas.insert(item->text(), text);
  clearMarking();
}

void FormulaBuilderWidget::closeEvent(QCloseEvent* event)
{
  if (!isVisible()) {
    event->accept();
    return;
  }
  if (hasPendingName()) {
    event->ignore();
    return;
  }
  const auto answer =
      Prompt::warning(this, windowTitle() + QLatin1Char(' ') + tr("Closing"),
                      tr("All changes made will be lost"), QMessageBox::Ok | QMessageBox::Abort);
  if (answer == QMessageBox::Ok) {
    reject();
    event->accept();
  } else {
    event->ignore();
  }
}

QListWidgetItem* FormulaBuilderWidget::newItem(const QString& name, const QString& expr) const
{
  auto* item = new QListWidgetItem(name);
  item->setData(Qt::UserRole, expr);
  item->setData(Qt::StatusTipRole, name);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
  return item;
}

void FormulaBuilderWidget::addDefaultFormula()
{
  const FormulaFile::Entry formula = FormulaFile::defaultFormula();
  QListWidgetItem* item = newItem(formula.name, formula.expression);
  ui->listWidget->addItem(item);
  ui->listWidget->setCurrentItem(item);
  onList_selectionChanged(ui->listWidget->currentRow());
  rebuildMap();
}

void FormulaBuilderWidget::rebuildMap()
{
  formulas.clear();
  for (int i = 0; i < ui->listWidget->count(); ++i) {
    const QListWidgetItem* item = ui->listWidget->item(i);
    const QString expr = item->data(Qt::UserRole).toString();
    if (!formulas.contains(item->text()) && checkExpression(expr, false))
      formulas.insert(item->text(), expr);
  }
}

bool FormulaBuilderWidget::isDuplicate(const QListWidgetItem* item) const
{
  for (int i = 0; i < ui->listWidget->count(); ++i) {
    const QListWidgetItem* other = ui->listWidget->item(i);
    if (other != item && other->text() == item->text())
      return true;
  }
  return false;
}

void FormulaBuilderWidget::setPreviewExpression(const QString& expr)
{
  if (!previewFunction)
    return;
  try {
    previewFunction->setExpression(expr.toStdString());
  } catch (const mu::ParserError&) {
    // Only a stored expression from a hand-edited file can get here.
    previewFunction->setExpression("0");
  }
  // Same arrays, new values: the y axis follows the new curve.
  if (CurveInfoBase* info = ui->plotWidget->curveInfo(previewFunction.get()))
    info->refreshSamples(true);
  ui->plotWidget->replot();
}

void FormulaBuilderWidget::markInvalid(const QString& text, const QString& token, int position)
{
  int start = token.isEmpty() ? -1 : text.indexOf(token);
  int length = token.length();
  if (start < 0) {
    // No token to find (an unexpected end, say): mark the character at the
    // reported position, or the last one when the position lies past the end.
    if (text.isEmpty()) {
      ui->textEdit->setExtraSelections({});
      return;
    }
    start = (position >= 0 && position < text.size()) ? position : text.size() - 1;
    length = 1;
  }
  QTextEdit::ExtraSelection selection;
  selection.format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  selection.format.setUnderlineColor(Qt::red);
  selection.format.setBackground(Qt::yellow);
  selection.cursor = QTextCursor(ui->textEdit->document());
  selection.cursor.setPosition(start);
  selection.cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  ui->textEdit->setExtraSelections({selection});
}

void FormulaBuilderWidget::clearMarking()
{
  ui->textEdit->setExtraSelections({});
  ui->textEdit->setStyleSheet(QString());
  ui->textEdit->setToolTip(QString());
}
