#include "gui/exportwidget.h"

#include "gui/appconstants.h"
#include "gui/components/prompt.h"
#include "ui_exportwidget.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRegExpValidator>

using AppConstants::csvFilter;
using AppConstants::pngFilter;

namespace {

bool matchesFileNamePattern(QString text)
{
  QRegExpValidator validator{QRegExp(ExportWidget::fileNamePattern())};
  int pos = 0;
  return validator.validate(text, pos) == QValidator::Acceptable;
}

} // namespace

ExportWidget::ExportWidget(QWidget* parent)
    : DialogBase(parent), ui(new Ui::ExportWidget), filter(AppConstants::filter(csvFilter))
{
  ui->setupUi(centralWidget());
  resize(ui->verticalLayout->sizeHint().expandedTo(QSize(640, 400)));

  const QString pattern = fileNamePattern();
  ui->fileNameEdt->setValidator(new QRegExpValidator(QRegExp(pattern), ui->fileNameEdt));
  ui->fileNameEdt->setToolTip(tr("Following regular expression is validated:\n") + pattern);
  ui->keepRatioCBox->setEnabled(false);
  ui->warningLbl->hide();

  connect(ui->pathDialogBtn, &QPushButton::clicked, this, &ExportWidget::onPathDialogBtn_clicked);
  connect(ui->fileNameEdt, &QLineEdit::textEdited, this, &ExportWidget::setupOkBtnState);
  // The suffix is typed as well; without this OK would lag behind it.
  connect(ui->suffixEdt, &QLineEdit::textEdited, this, &ExportWidget::setupOkBtnState);
  connect(ui->resetSizeBtn, &QPushButton::clicked, this, &ExportWidget::onResetSize_clicked);
  setupOkBtnState();
}

ExportWidget::~ExportWidget()
{
  delete ui;
}

QString ExportWidget::fileNamePattern()
{
  return QStringLiteral("^[^\\\\/\\|*<>]+$");
}

void ExportWidget::setValueOptionsVisible(bool visible)
{
  ui->groupBox->setVisible(visible);
  ui->valueSpacerWidget->setVisible(visible);
  filter = AppConstants::filter(visible ? csvFilter : pngFilter);
}

void ExportWidget::setPictureOptionsVisible(bool visible)
{
  ui->pictureWidget->setVisible(visible);
  filter = AppConstants::filter(visible ? pngFilter : csvFilter);
}

void ExportWidget::setCurrentSize(int width, int height)
{
  currentSize = QSize(width, height);
  ui->widthSpin->setValue(width);
  ui->heightSpin->setValue(height);
}

QSize ExportWidget::pictureSize() const
{
  return QSize(ui->widthSpin->value(), ui->heightSpin->value());
}

void ExportWidget::showCurrentSize(int width, int height)
{
  ui->currentSizeLbl->setText(tr("Current size: ") + QString::number(width) +
                              QStringLiteral(" x ") + QString::number(height));
}

QString ExportWidget::filePath() const
{
  return QDir::toNativeSeparators(ui->pathEdt->text() + QLatin1Char('/') + ui->fileNameEdt->text() +
                                  QLatin1Char('.') + ui->suffixEdt->text());
}

bool ExportWidget::isInputValid() const
{
  const QString dir = ui->pathEdt->text();
  // QDir("") would mean the working directory; an empty path is no choice.
  // Restored or typed text bypasses the validator, so the name and the
  // suffix are checked here as well: neither may lead into another directory.
  return !dir.isEmpty() && QFileInfo(dir).isDir() && !ui->fileNameEdt->text().trimmed().isEmpty() &&
         !ui->suffixEdt->text().isEmpty() && matchesFileNamePattern(ui->fileNameEdt->text()) &&
         matchesFileNamePattern(ui->suffixEdt->text());
}

bool ExportWidget::domainValues() const
{
  return ui->domainCBox->isChecked();
}
bool ExportWidget::originalFunction() const
{
  return ui->originFnChbox->isChecked();
}
bool ExportWidget::coefficients() const
{
  return ui->coefChbox->isChecked();
}
bool ExportWidget::nodes() const
{
  return ui->nodesChbox->isChecked();
}
bool ExportWidget::inverseFunction() const
{
  return ui->inverseFnChbox->isChecked();
}
int ExportWidget::digits() const
{
  return ui->digitsSpin->value();
}

void ExportWidget::setupOkBtnState()
{
  const bool valid = isInputValid();
  if (QPushButton* ok = buttonBox()->button(QDialogButtonBox::Ok))
    ok->setEnabled(valid);
  if (valid)
    ui->warningLbl->setVisible(QFileInfo::exists(filePath()));
}

void ExportWidget::onPathDialogBtn_clicked()
{
  const QString chosen =
      Prompt::getSaveFileName(this, tr("Select file name"), ui->pathEdt->text(), filter);
  if (chosen.isEmpty())
    return;
  const QFileInfo info(chosen);
  ui->pathEdt->setText(info.absolutePath());
  ui->suffixEdt->setText(info.suffix());
  // The complete base name, so that "a.b.csv" comes back as "a.b" + "csv" and
  // not as a different file "a.csv".
  QString name = info.completeBaseName();
  if (!matchesFileNamePattern(name))
    name.clear();
  ui->fileNameEdt->setText(name);
  setupOkBtnState();
}

void ExportWidget::onResetSize_clicked()
{
  ui->widthSpin->setValue(currentSize.width());
  ui->heightSpin->setValue(currentSize.height());
}
