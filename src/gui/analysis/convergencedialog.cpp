#include "gui/analysis/convergencedialog.h"

#include "gui/appconstants.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/exportrunner.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/export/csvexportfunction.h"
#include "ui_convergencedialog.h"

#include <QFileInfo>
#include <QHeaderView>

#include <qwt_legend.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_engine.h>
#include <qwt_symbol.h>

#include <cmath>
#include <cstring>

namespace {

using Function = Fn::MathFn<double, double>;

const char* const headers[] = {"Components", "Function", "Degree", "MaxAbs", "RMSE", "ArgMax"};

QString shapeName(int kind, int shape)
{
  switch (shape) {
  case DataHolders::ShapeTriangle:
    return QObject::tr("triangles");
  case DataHolders::ShapeSin:
    return QObject::tr("sines");
  case DataHolders::ShapeGaussian:
    return kind == DataHolders::KindCustomPartition ? QObject::tr("Gaussians") : QString();
  default:
    return QString();
  }
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

// What a run studies. Without copied values it only describes the inputs.
struct ConvergenceDialog::Inputs
{
  std::shared_ptr<const Analysis::ConvergenceStudy> study;
  const Domains::EnumerationBase<double>* domain = nullptr;
  std::vector<const Function*> functions;
  QStringList names;
  Analysis::StudyLayout layout;
  int maxDegree = 0;
  QString description;
};

ConvergenceDialog::ConvergenceDialog(FtransformWidget* controller, QWidget* parent)
    : QDialog(parent), ui(new Ui::ConvergenceDialog), _controller(controller),
      _runner(new ConvergenceRunner(this)), _pens{QPen(Qt::magenta, 2), QPen(Qt::green, 2),
                                                  QPen(Qt::blue, 2), QPen(QColor(255, 128, 0), 2)}
{
  ui->setupUi(this);
  ui->cancelBtn->setEnabled(false);
  ui->resultTable->setColumnCount(int(std::size(headers)));
  QStringList titles;
  for (const char* h : headers)
    titles << tr(h);
  ui->resultTable->setHorizontalHeaderLabels(titles);
  ui->resultTable->verticalHeader()->hide();
  ui->resultTable->horizontalHeader()->setStretchLastSection(true);

  QwtPlot* plot = ui->convergencePlot;
  plot->setCanvasBackground(Qt::white);
  plot->setAxisScaleEngine(QwtPlot::xBottom, new QwtLogScaleEngine);
  plot->setAxisScaleEngine(QwtPlot::yLeft, new QwtLogScaleEngine);
  plot->setAxisTitle(QwtPlot::xBottom, tr("Components"));
  plot->setAxisTitle(QwtPlot::yLeft, tr("Error"));
  plot->insertLegend(new QwtLegend, QwtPlot::RightLegend);

  connect(ui->runBtn, &QPushButton::clicked, this, &ConvergenceDialog::run);
  connect(ui->cancelBtn, &QPushButton::clicked, this, &ConvergenceDialog::cancel);
  connect(ui->closeBtn, &QPushButton::clicked, this, &QWidget::close);
  connect(ui->defaultCountsBtn, &QPushButton::clicked, this, [this] {
    _countsEdited = false;
    showInputs();
  });
  connect(ui->countsEdt, &QLineEdit::textEdited, this, [this] { _countsEdited = true; });
  connect(ui->countsEdt, &QLineEdit::textChanged, this, &ConvergenceDialog::checkCounts);
  connect(ui->countsEdt, &QLineEdit::returnPressed, this, &ConvergenceDialog::run);
  connect(ui->functionCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          &ConvergenceDialog::replotResults);
  connect(ui->exportTableBtn, &QPushButton::clicked, this, &ConvergenceDialog::exportTable);
  connect(ui->exportPlotBtn, &QPushButton::clicked, this, &ConvergenceDialog::exportPlot);
  connect(_runner, &ConvergenceRunner::countDone, this, &ConvergenceDialog::onCountDone);
  connect(_runner, &ConvergenceRunner::finished, this, &ConvergenceDialog::onFinished);
  ui->exportTableBtn->setEnabled(false);
  ui->exportPlotBtn->setEnabled(false);
  showInputs();
}

ConvergenceDialog::~ConvergenceDialog() = default;

void ConvergenceDialog::setDegreePens(const QVector<QPen>& pens)
{
  if (pens.size() == 4)
    _pens = pens;
  replotResults();
}

QString ConvergenceDialog::message() const
{
  return ui->messageLbl->text();
}

// ------------------------------------------------------------------ inputs

std::unique_ptr<ConvergenceDialog::Inputs> ConvergenceDialog::readInputs(QString* problem,
                                                                         bool copyValues) const
{
  auto in = std::make_unique<Inputs>();
  const FtransformWidget* c = _controller;
  const auto record = c ? c->partitionRecord() : nullptr;
  const auto fuzzy = qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyPartBase>(record);
  in->domain = c ? c->domain() : nullptr;
  if (!fuzzy || !in->domain) {
    *problem = tr("No partition is in use.");
    return nullptr;
  }
  if (in->domain->size() < 3) {
    *problem = tr("The domain has fewer than two subintervals.");
    return nullptr;
  }
  auto& layout = in->layout;
  layout.kind = record->type;
  layout.shape = fuzzy->shape;
  layout.shift = fuzzy->shift;
  layout.offset = fuzzy->offset;
  layout.basis = c->higherDegreeBasis();
  const QString shapes = shapeName(layout.kind, layout.shape);
  if (shapes.isEmpty()) {
    *problem = tr("This shape cannot be transformed: the F-transform needs basic functions "
                  "with a one-point kernel.");
    return nullptr;
  }
  const double low = in->domain->low(), high = in->domain->high();
  QString kindText = tr("Ruspini partitions of %1 on N equidistant nodes").arg(shapes);
  if (layout.kind == DataHolders::KindCustomPartition) {
    const auto delta = qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyDelta>(record);
    const int nodes = record->nodes.size();
    const double spacing = layout.shape == DataHolders::ShapeGaussian
                               ? (nodes > 1 ? (high - low) / (nodes - 1) : 0.0)
                               : (delta ? delta->delta : 0.0);
    if (!delta || !(spacing > 0) || !(delta->extraParam > 0)) {
      *problem = tr("The custom partition has no usable node distance.");
      return nullptr;
    }
    layout.widthRatio = delta->extraParam / spacing;
    kindText = tr("custom partitions of %1 on N equidistant nodes, the variance %2 times the "
                  "node distance")
                   .arg(shapes)
                   .arg(layout.widthRatio, 0, 'g', 4);
  }
  in->maxDegree = c->maxDegree();
  for (const Function* fn : c->functions()) {
    if (fn->values().size() != in->domain->size())
      continue;
    in->functions.push_back(fn);
    const CurveInfoBase* info = c->plotWidget()->curveInfo(fn);
    in->names << (info && !info->name().isEmpty() ? info->name()
                                                  : tr("Function %1").arg(in->names.size() + 1));
  }
  if (in->functions.empty()) {
    *problem = tr("There is no function to study.");
    return nullptr;
  }
  const QString degrees = in->maxDegree == 0 ? tr("degree 0")
                          : layout.basis == Fn::HigherDegreeBasis::ClosedForm
                              ? tr("degrees 0 to %1 (closed-form bases)").arg(in->maxDegree)
                              : tr("degrees 0 to %1").arg(in->maxDegree);
  in->description = tr("%1: %2, %3, on %4 points from %5 to %6.")
                        .arg(in->names.join(QStringLiteral(", ")), kindText, degrees)
                        .arg(in->domain->size())
                        .arg(low)
                        .arg(high);
  if (copyValues) {
    // Copied here, on the GUI thread: formula objects are not for other threads.
    std::vector<std::vector<double>> values;
    for (const Function* fn : in->functions)
      values.push_back(fn->values());
    in->study = std::make_shared<const Analysis::ConvergenceStudy>(
        std::unique_ptr<const Domains::EnumerationBase<double>>(in->domain->clone()),
        std::move(values), layout, in->maxDegree);
  }
  return in;
}

bool ConvergenceDialog::sameInputs(const Inputs& now) const
{
  if (!_inputs || !_inputs->study)
    return false;
  const Analysis::ConvergenceStudy& s = *_inputs->study;
  const Analysis::StudyLayout& a = s.layout();
  const Analysis::StudyLayout& b = now.layout;
  if (a.kind != b.kind || a.shape != b.shape || a.shift != b.shift || a.offset != b.offset ||
      a.widthRatio != b.widthRatio || a.basis != b.basis || s.maxDegree() != now.maxDegree ||
      s.functionCount() != now.functions.size() ||
      !sameBits(s.domain().values(), now.domain->values()))
    return false;
  for (std::size_t i = 0; i < now.functions.size(); ++i)
    if (!sameBits(s.values(i), now.functions[i]->values()))
      return false;
  return true;
}

void ConvergenceDialog::showInputs()
{
  QString problem;
  const auto in = readInputs(&problem, false);
  ui->inputLbl->setText(in ? in->description : problem);
  ui->runBtn->setEnabled(in != nullptr);
  if (in && !_countsEdited)
    ui->countsEdt->setText(
        Analysis::countsText(Analysis::defaultCounts(int(in->domain->size()) - 1)));
  checkCounts();
}

void ConvergenceDialog::checkCounts()
{
  const auto* domain = _controller ? _controller->domain() : nullptr;
  std::vector<int> counts;
  QString why;
  const bool ok = domain && Analysis::parseCounts(ui->countsEdt->text(), int(domain->size()) - 1,
                                                  &counts, &why);
  ui->countsEdt->setStyleSheet(ok ? QString()
                                  : QString::fromLatin1(AppConstants::invalidInputStyle));
  ui->countsEdt->setToolTip(ok ? tr("Ascending component counts separated by commas, each from "
                                    "2 to the number of subintervals of the domain")
                               : why);
}

void ConvergenceDialog::onInputs_changed()
{
  if (!isVisible())
    return;
  showInputs();
  if (!_inputs || _stale)
    return;
  QString problem;
  const auto now = readInputs(&problem, false);
  if (now && sameInputs(*now))
    return;
  if (isRunning()) {
    cancel();
    setMessage(tr("Cancelled: the functions, the partition, the degree or the domain changed. "
                  "Run studies the new inputs."),
               true);
  } else if (!_results.empty()) {
    setMessage(tr("The inputs changed since these results were computed; Run studies the new "
                  "inputs."),
               true);
  }
  // The results stay, labelled by the inputs they were computed for.
  _stale = true;
}

// ----------------------------------------------------------------- running

void ConvergenceDialog::run()
{
  cancel();
  // The inputs may have changed while the window was hidden.
  showInputs();
  QString problem;
  std::unique_ptr<Inputs> in = readInputs(&problem, true);
  if (!in) {
    setMessage(problem, true);
    return;
  }
  std::vector<int> counts;
  if (!Analysis::parseCounts(ui->countsEdt->text(), in->study->largestCount(), &counts, &problem)) {
    setMessage(tr("Component counts: %1").arg(problem), true);
    return;
  }
  if (counts.empty()) {
    setMessage(tr("Give at least one component count."), true);
    return;
  }
  _inputs = std::move(in);
  _stale = false;
  _counts = counts;
  _results.clear();
  ui->resultTable->setRowCount(0);
  {
    const QSignalBlocker block(ui->functionCbox);
    const int shown = ui->functionCbox->currentIndex();
    ui->functionCbox->clear();
    ui->functionCbox->addItems(_inputs->names);
    ui->functionCbox->setCurrentIndex(std::clamp(shown, 0, _inputs->names.size() - 1));
    ui->functionCbox->setEnabled(_inputs->names.size() > 1);
  }
  replotResults();
  ui->progressBar->setRange(0, int(counts.size()));
  ui->progressBar->setValue(0);
  setMessage(tr("Computing %1 counts...").arg(counts.size()));
  setRunning(true);
  _runner->start(_inputs->study, counts);
}

void ConvergenceDialog::cancel()
{
  if (!isRunning())
    return;
  _runner->cancel();
  setRunning(false);
  setMessage(tr("Cancelled after %1 of %2 counts.").arg(_results.size()).arg(_counts.size()));
}

void ConvergenceDialog::hideEvent(QHideEvent* event)
{
  cancel();
  QDialog::hideEvent(event);
}

void ConvergenceDialog::setRunning(bool running)
{
  ui->runBtn->setEnabled(!running);
  ui->cancelBtn->setEnabled(running);
  ui->exportTableBtn->setEnabled(!running && !_results.empty());
  ui->exportPlotBtn->setEnabled(!running && !_results.empty());
}

void ConvergenceDialog::setMessage(const QString& text, bool error)
{
  ui->messageLbl->setText(text);
  ui->messageLbl->setStyleSheet(error ? QStringLiteral("color: #800000;") : QString());
}

void ConvergenceDialog::onCountDone(int index, int count, const ConvergenceRunner::Errors& errors)
{
  _results.push_back(Result{count, errors});
  QTableWidget* t = ui->resultTable;
  const auto number = [](double v) {
    return std::isnan(v) ? QStringLiteral("NaN") : QString::number(v, 'g', 6);
  };
  for (std::size_t f = 0; f < errors.size(); ++f) {
    for (std::size_t d = 0; d < errors[f].size(); ++d) {
      const Analysis::ErrorMeasure& e = errors[f][d];
      const int row = t->rowCount();
      t->insertRow(row);
      const QStringList cells{QString::number(count), _inputs->names.value(int(f)),
                              QString::number(d),     number(e.maxAbs),
                              number(e.rmse),         number(e.argMax)};
      for (int col = 0; col < cells.size(); ++col)
        t->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
  }
  ui->progressBar->setValue(index + 1);
  replotResults();
}

void ConvergenceDialog::onFinished(bool completed, const QString& reason)
{
  setRunning(false);
  if (completed)
    setMessage(tr("Done: %1 counts.").arg(_results.size()));
  else
    setMessage(tr("Stopped after %1 of %2 counts: %3")
                   .arg(_results.size())
                   .arg(_counts.size())
                   .arg(reason),
               true);
}

// ------------------------------------------------------------------ results

double ConvergenceDialog::order(int function, int degree, bool rmse) const
{
  std::vector<int> counts;
  std::vector<double> errors;
  for (const Result& r : _results) {
    if (function < 0 || std::size_t(function) >= r.errors.size() || degree < 0 ||
        std::size_t(degree) >= r.errors[std::size_t(function)].size())
      return Analysis::ErrorMeasure::none;
    const Analysis::ErrorMeasure& e = r.errors[std::size_t(function)][std::size_t(degree)];
    counts.push_back(r.count);
    errors.push_back(rmse ? e.rmse : e.maxAbs);
  }
  return Analysis::empiricalOrder(counts, errors);
}

void ConvergenceDialog::replotResults()
{
  QwtPlot* plot = ui->convergencePlot;
  plot->detachItems(QwtPlotItem::Rtti_PlotCurve, true);
  const int f = ui->functionCbox->currentIndex();
  const int degrees = _inputs ? _inputs->maxDegree + 1 : 0;
  for (int d = 0; d < degrees && f >= 0 && !_results.empty(); ++d) {
    for (bool rmse : {false, true}) {
      QVector<double> xs, ys;
      for (const Result& r : _results) {
        const Analysis::ErrorMeasure& e = r.errors[std::size_t(f)][std::size_t(d)];
        const double y = rmse ? e.rmse : e.maxAbs;
        // A log axis has no place for 0 or NaN.
        if (y > 0 && std::isfinite(y)) {
          xs << r.count;
          ys << y;
        }
      }
      const double p = order(f, d, rmse);
      const QString title = tr("Ft%1 %2, order %3")
                                .arg(d)
                                .arg(rmse ? tr("RMSE") : tr("MaxAbs"))
                                .arg(std::isnan(p) ? tr("n/a") : QString::number(p, 'f', 2));
      auto* curve = new QwtPlotCurve(title);
      QPen pen = _pens.value(d);
      pen.setStyle(rmse ? Qt::DashLine : Qt::SolidLine);
      curve->setPen(pen);
      curve->setSymbol(new QwtSymbol(rmse ? QwtSymbol::Rect : QwtSymbol::Ellipse,
                                     QBrush(pen.color()), QPen(pen.color()), QSize(6, 6)));
      curve->setLegendAttribute(QwtPlotCurve::LegendShowLine);
      curve->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
      curve->setSamples(xs, ys);
      curve->attach(plot);
    }
  }
  plot->replot();
}

void ConvergenceDialog::exportTable()
{
  QString path = Prompt::getSaveFileName(this, tr("Export convergence table"), _lastDirectory,
                                         QString::fromLatin1(AppConstants::csvFilter));
  if (path.isEmpty() || !_inputs)
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + QLatin1String(AppConstants::csvSuffix);
  _lastDirectory = QFileInfo(path).absolutePath();
  CsvExportFunction writer(path);
  writer.setWaitForReader(false);
  QList<QStringList> rows;
  const auto number = [&writer](double v) {
    return QString::fromStdString(CsvExportFunction::formatNumber(v, writer.precision()));
  };
  for (const Result& r : _results)
    for (std::size_t f = 0; f < r.errors.size(); ++f)
      for (std::size_t d = 0; d < r.errors[f].size(); ++d) {
        const Analysis::ErrorMeasure& e = r.errors[f][d];
        rows << QStringList{QString::number(r.count), _inputs->names.value(int(f)),
                            QString::number(d),       number(e.maxAbs),
                            number(e.rmse),           number(e.argMax)};
      }
  QStringList header;
  for (const char* h : headers)
    header << QString::fromLatin1(h);
  writer.setTable(header, rows);
  if (!writer.write())
    Prompt::critical(this, tr("Error"), writer.errorString());
}

void ConvergenceDialog::exportPlot()
{
  QString path = Prompt::getSaveFileName(this, tr("Export convergence plot"), _lastDirectory,
                                         QString::fromLatin1(AppConstants::pngFilter));
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + QLatin1String(AppConstants::pngSuffix);
  _lastDirectory = QFileInfo(path).absolutePath();
  QString error;
  if (!ExportRunner::savePicture(ui->convergencePlot->grab(), path, error))
    Prompt::critical(this, tr("Error"), error);
}
