#include "gui/figureexportwidget.h"

#include "gui/components/prompt.h"
#include "gui/exportwidget.h"
#include "ui_figureexportwidget.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRegExpValidator>

namespace {

bool matchesFileNamePattern(QString text)
{
  QRegExpValidator validator{QRegExp(ExportWidget::fileNamePattern())};
  int pos = 0;
  return validator.validate(text, pos) == QValidator::Acceptable;
}

// In the order of the format box, whose entries are read by position.
const char* const filters[] = {QT_TRANSLATE_NOOP("FigureExportWidget", "PNG image (*.png)"),
                               QT_TRANSLATE_NOOP("FigureExportWidget", "SVG drawing (*.svg)"),
                               QT_TRANSLATE_NOOP("FigureExportWidget", "PDF document (*.pdf)")};
const char* const suffixes[] = {"png", "svg", "pdf"};

} // namespace

FigureExportWidget::FigureExportWidget(QWidget* parent)
    : DialogBase(parent), ui(new Ui::FigureExportWidget)
{
  ui->setupUi(centralWidget());
  resize(ui->verticalLayout->sizeHint().expandedTo(QSize(560, 300)));

  const QString pattern = ExportWidget::fileNamePattern();
  ui->fileNameEdt->setValidator(new QRegExpValidator(QRegExp(pattern), ui->fileNameEdt));
  ui->fileNameEdt->setToolTip(tr("Following regular expression is validated:\n") + pattern);
  ui->warningLbl->hide();

  connect(ui->pathDialogBtn, &QPushButton::clicked, this,
          &FigureExportWidget::onPathDialogBtn_clicked);
  connect(ui->fileNameEdt, &QLineEdit::textChanged, this, &FigureExportWidget::setupOkBtnState);
  connect(ui->formatCBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          &FigureExportWidget::setupOkBtnState);
  for (QSpinBox* spin : {ui->widthSpin, ui->heightSpin, ui->dpiSpin})
    connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &FigureExportWidget::setupOkBtnState);
  setupOkBtnState();
}

FigureExportWidget::~FigureExportWidget()
{
  delete ui;
}

QString FigureExportWidget::filePath() const
{
  return QDir::toNativeSeparators(ui->pathEdt->text() + QLatin1Char('/') + ui->fileNameEdt->text() +
                                  QLatin1Char('.') + suffix());
}

QString FigureExportWidget::suffix() const
{
  const int format = ui->formatCBox->currentIndex();
  return QLatin1String(format >= 0 && format < 3 ? suffixes[format] : suffixes[0]);
}

FigureExport::Options FigureExportWidget::options() const
{
  FigureExport::Options o;
  o.filePath = filePath();
  o.sizeMm = QSizeF(ui->widthSpin->value(), ui->heightSpin->value());
  o.dpi = ui->dpiSpin->value();
  // A restored index beyond the list (a later version's choice) is the default.
  const int legend = ui->legendPlaceCBox->currentIndex();
  o.legend = legend >= 0 && legend <= FigureExport::NoLegend ? FigureExport::LegendPlace(legend)
                                                             : FigureExport::LegendAsShown;
  o.xTitle = ui->xTitleEdt->text();
  o.yTitle = ui->yTitleEdt->text();
  const int colours = ui->coloursCBox->currentIndex();
  o.colours = colours >= 0 && colours <= FigureExport::FunctionHuesDashes
                  ? FigureExport::Colours(colours)
                  : FigureExport::ColoursAsShown;
  return o;
}

bool FigureExportWidget::includePartition() const
{
  return ui->partitionChBox->isChecked();
}

bool FigureExportWidget::isPng() const
{
  return ui->formatCBox->currentIndex() == FigureExport::Png;
}

bool FigureExportWidget::isInputValid() const
{
  // Restored text bypasses the validator: the name is checked here as well.
  const QString dir = ui->pathEdt->text();
  const FigureExport::Options o = options();
  return !dir.isEmpty() && QFileInfo(dir).isDir() && !ui->fileNameEdt->text().trimmed().isEmpty() &&
         matchesFileNamePattern(ui->fileNameEdt->text()) && ui->formatCBox->currentIndex() >= 0 &&
         (!isPng() || FigureExport::sizeProblem(o.sizeMm, o.dpi).isEmpty());
}

void FigureExportWidget::setupOkBtnState()
{
  ui->dpiSpin->setEnabled(isPng());
  const FigureExport::Options o = options();
  const QString problem = FigureExport::sizeProblem(o.sizeMm, o.dpi);
  const QSize px = FigureExport::pixelSize(o.sizeMm, o.dpi);
  if (!isPng())
    ui->pixelsLbl->setText(tr("(a drawing: sharp at any size)"));
  else if (problem.isEmpty())
    ui->pixelsLbl->setText(tr("%1 x %2 pixels").arg(px.width()).arg(px.height()));
  else
    ui->pixelsLbl->setText(QStringLiteral("<span style=\"color:#800000;\">%1</span>")
                               .arg(tr("Too large: %1").arg(problem).toHtmlEscaped()));

  const bool valid = isInputValid();
  if (QPushButton* ok = buttonBox()->button(QDialogButtonBox::Ok))
    ok->setEnabled(valid);
  ui->warningLbl->setVisible(valid && QFileInfo::exists(filePath()));
}

void FigureExportWidget::onPathDialogBtn_clicked()
{
  const int current = qMax(0, ui->formatCBox->currentIndex());
  QStringList all;
  for (const char* f : filters)
    all.append(tr(f));
  all.move(current, 0);
  const QString chosen = Prompt::getSaveFileName(this, tr("Select file name"), ui->pathEdt->text(),
                                                 all.join(QStringLiteral(";;")));
  if (chosen.isEmpty())
    return;
  const QFileInfo info(chosen);
  QString name = info.fileName();
  const FigureExport::Format format = FigureExport::formatOf(chosen);
  if (format != FigureExport::Unknown) {
    ui->formatCBox->setCurrentIndex(format);
    name = info.completeBaseName();
  }
  ui->pathEdt->setText(info.absolutePath());
  ui->fileNameEdt->setText(matchesFileNamePattern(name) ? name : QString());
  setupOkBtnState();
}
