#include "gui/analysis/convergencedialog.h"

#include "gui/appconstants.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/exportrunner.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "ui_convergencedialog.h"

#include <QFileInfo>
#include <QHeaderView>

#include <qwt_legend.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_engine.h>
#include <qwt_symbol.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using Function = Fn::MathFn<double, double>;

// Digits of the table, in the window as in the file.
constexpr int tablePrecision = 6;

QString shapeName(DataHolders::PartitionKind kind, int shape)
{
  switch (shape) {
  case DataHolders::ShapeTriangle:
    return QObject::tr("triangles");
  case DataHolders::ShapeSin:
    return QObject::tr("sines");
  case DataHolders::ShapeGaussian:
    return kind == DataHolders::PartitionKind::Custom ? QObject::tr("Gaussians") : QString();
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
  std::vector<std::string> formulas; // Analysis::refinableFormula of each function
  int points = 0;                    // per basic function, 0: not refined
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
  // The file keeps the English header; the window shows it translated.
  static const char* const shownTitles[] = {
      QT_TR_NOOP("Components"),   QT_TR_NOOP("Function"),      QT_TR_NOOP("Degree"),
      QT_TR_NOOP("MaxAbs"),       QT_TR_NOOP("RMSE"),          QT_TR_NOOP("ArgMax"),
      QT_TR_NOOP("Subintervals"), QT_TR_NOOP("Fewest points"), QT_TR_NOOP("Under-resolved")};
  QStringList titles;
  for (const QString& title : Analysis::tableHeader())
    titles.append(tr(title.toUtf8().constData()));
  Q_UNUSED(shownTitles)
  ui->resultTable->setColumnCount(titles.size());
  ui->resultTable->setHorizontalHeaderLabels(titles);
  ui->resultTable->verticalHeader()->hide();
  ui->resultTable->horizontalHeader()->setStretchLastSection(true);

  QwtPlot* plot = ui->convergencePlot;
  plot->setAccessibleName(tr("Convergence plot"));
  plot->setToolTip(tr("The error of each degree against the component count, on logarithmic axes"));
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
  connect(ui->pointsChbox, &QCheckBox::toggled, ui->pointsSpin, &QWidget::setEnabled);
  connect(ui->pointsChbox, &QCheckBox::toggled, this, &ConvergenceDialog::showInputs);
  connect(ui->pointsSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &ConvergenceDialog::showInputs);
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
  layout.kind = record->kind();
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
  if (layout.kind == DataHolders::PartitionKind::Custom) {
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
    in->formulas.push_back(Analysis::refinableFormula(*fn));
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
  in->points = ui->pointsChbox->isChecked() ? ui->pointsSpin->value() : 0;
  for (std::size_t i = 0; i < in->formulas.size() && in->points > 0; ++i) {
    if (in->formulas[i].empty()) {
      *problem = tr("Points per basic function evaluates formulas on a finer discretisation: "
                    "%1 is data or draws random numbers.")
                     .arg(in->names.value(int(i)));
      return nullptr;
    }
  }
  if (in->points > 0)
    in->description += QLatin1Char(' ') + tr("Counts whose basic functions would cover fewer than "
                                             "%1 points are computed on a finer discretisation.")
                                              .arg(in->points);
  if (copyValues) {
    // Copied here, on the GUI thread: formula objects are not for other threads.
    std::vector<std::vector<double>> values;
    for (const Function* fn : in->functions)
      values.push_back(fn->values());
    auto study = std::make_shared<Analysis::ConvergenceStudy>(
        std::unique_ptr<const Domains::EnumerationBase<double>>(in->domain->clone()),
        std::move(values), layout, in->maxDegree);
    QString why;
    if (!study->refine(in->points, in->formulas, &why)) {
      *problem = tr("Points per basic function: %1.").arg(why);
      return nullptr;
    }
    in->study = study;
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
      s.pointsPerFunction() != now.points || s.functionCount() != now.functions.size() ||
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
  ui->runBtn->setEnabled(in != nullptr);
  if (!in) {
    ui->inputLbl->setText(problem);
    checkCounts();
    return;
  }
  // Finding the last resolved count builds partitions: once per domain and layout.
  const Analysis::StudyLayout& l = in->layout;
  const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                          .arg(in->domain->size())
                          .arg(in->domain->low(), 0, 'g', 17)
                          .arg(in->domain->high(), 0, 'g', 17)
                          .arg(int(l.kind))
                          .arg(l.shape)
                          .arg(l.shift)
                          .arg(l.offset)
                          .arg(l.widthRatio, 0, 'g', 17);
  if (key != _defaultsFor) {
    const Analysis::ConvergenceStudy probe(
        std::unique_ptr<const Domains::EnumerationBase<double>>(in->domain->clone()), {}, l, 0);
    _defaults = probe.defaultCounts();
    _defaultsFor = key;
  }
  QString text = in->description;
  if (_defaults.empty())
    text += QLatin1Char(' ') + tr("On this domain no count gives basic functions of %1 points "
                                  "or more: give counts, or turn on points per basic function.")
                                   .arg(Analysis::resolvedPoints);
  ui->inputLbl->setText(text);
  if (!_countsEdited)
    ui->countsEdt->setText(Analysis::countsText(_defaults));
  checkCounts();
}

void ConvergenceDialog::checkCounts()
{
  const auto* domain = _controller ? _controller->domain() : nullptr;
  const int points = ui->pointsChbox->isChecked() ? ui->pointsSpin->value() : 0;
  std::vector<int> counts;
  QString why;
  const bool ok =
      domain && Analysis::parseCounts(ui->countsEdt->text(),
                                      Analysis::largestStudyCount(int(domain->size()) - 1, points),
                                      &counts, &why);
  ui->countsEdt->setStyleSheet(ok ? QString()
                                  : QString::fromLatin1(AppConstants::invalidInputStyle));
  ui->countsEdt->setToolTip(ok ? tr("Ascending component counts separated by commas, each from "
                                    "2 to the number of subintervals of the domain (or more with "
                                    "points per basic function)")
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

void ConvergenceDialog::onCountDone(int index, const Analysis::CountResult& result)
{
  _results.push_back(result);
  QTableWidget* t = ui->resultTable;
  const QString why = tr("Under-resolved: a basic function covers only %1 points (fewer than "
                         "%2); left out of the orders")
                          .arg(result.fewestPoints)
                          .arg(Analysis::resolvedPoints);
  for (const QStringList& cells : Analysis::tableRows({result}, _inputs->names, tablePrecision)) {
    const int row = t->rowCount();
    t->insertRow(row);
    for (int col = 0; col < cells.size(); ++col) {
      auto* item = new QTableWidgetItem(cells[col]);
      if (!result.resolved()) {
        item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        item->setToolTip(why);
      }
      t->setItem(row, col, item);
    }
  }
  ui->progressBar->setValue(index + 1);
  replotResults();
}

void ConvergenceDialog::onFinished(bool completed, const QString& reason)
{
  setRunning(false);
  const auto under = std::count_if(_results.begin(), _results.end(),
                                   [](const Analysis::CountResult& r) { return !r.resolved(); });
  QString note = QStringLiteral(".");
  if (under > 0)
    note = tr(", %1 of them under-resolved (basic functions of fewer than %2 points) and left "
              "out of the orders.")
               .arg(under)
               .arg(Analysis::resolvedPoints);
  if (completed)
    setMessage(tr("Done: %1 counts").arg(_results.size()) + note);
  else
    setMessage(tr("Stopped after %1 of %2 counts: %3")
                       .arg(_results.size())
                       .arg(_counts.size())
                       .arg(reason) +
                   (under > 0 ? note : QString()),
               true);
}

// ------------------------------------------------------------------ results

Analysis::OrderFit ConvergenceDialog::order(int function, int degree, bool rmse) const
{
  if (function < 0)
    return Analysis::OrderFit();
  return Analysis::fitOrder(_results, std::size_t(function), degree,
                            rmse ? Analysis::Measure::Rmse : Analysis::Measure::MaxAbs);
}

void ConvergenceDialog::replotResults()
{
  QwtPlot* plot = ui->convergencePlot;
  plot->detachItems(QwtPlotItem::Rtti_PlotCurve, true);
  const int f = ui->functionCbox->currentIndex();
  const int degrees = _inputs ? _inputs->maxDegree + 1 : 0;
  for (int d = 0; d < degrees && f >= 0 && !_results.empty(); ++d) {
    for (bool rmse : {false, true}) {
      QVector<double> xs, ys, xu, yu;
      for (const Analysis::CountResult& r : _results) {
        const Analysis::ErrorMeasure& e = r.errors[std::size_t(f)][std::size_t(d)];
        const double y = rmse ? e.rmse : e.maxAbs;
        // A log axis has no place for 0 or NaN.
        if (y > 0 && std::isfinite(y)) {
          xs << r.count;
          ys << y;
          if (!r.resolved()) {
            xu << r.count;
            yu << y;
          }
        }
      }
      const Analysis::OrderFit fit = order(f, d, rmse);
      const QString p =
          std::isnan(fit.order)
              ? tr("n/a")
              : tr("%1 (N %2-%3)").arg(fit.order, 0, 'f', 2).arg(fit.from).arg(fit.to);
      const QString title =
          tr("Ft%1 %2, order %3").arg(d).arg(rmse ? tr("RMSE") : tr("MaxAbs")).arg(p);
      auto* curve = new QwtPlotCurve(title);
      QPen pen = _pens.value(d);
      pen.setStyle(rmse ? Qt::DashLine : Qt::SolidLine);
      const QwtSymbol::Style shape = rmse ? QwtSymbol::Rect : QwtSymbol::Ellipse;
      curve->setPen(pen);
      curve->setSymbol(new QwtSymbol(shape, QBrush(pen.color()), QPen(pen.color()), QSize(6, 6)));
      curve->setLegendAttribute(QwtPlotCurve::LegendShowLine);
      curve->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
      curve->setSamples(xs, ys);
      curve->attach(plot);
      // Under-resolved counts drawn hollow over the line.
      if (xu.isEmpty())
        continue;
      auto* hollow = new QwtPlotCurve(title + tr(", under-resolved"));
      hollow->setStyle(QwtPlotCurve::NoCurve);
      hollow->setSymbol(new QwtSymbol(shape, QBrush(Qt::white), QPen(pen.color()), QSize(8, 8)));
      hollow->setItemAttribute(QwtPlotItem::Legend, false);
      hollow->setSamples(xu, yu);
      hollow->attach(plot);
    }
  }
  plot->replot();
}

void ConvergenceDialog::exportTable()
{
  QString path = Prompt::getSaveFileName(this, tr("Export convergence table"), _lastDirectory,
                                         AppConstants::filter(AppConstants::csvFilter));
  if (path.isEmpty() || !_inputs)
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + QLatin1String(AppConstants::csvSuffix);
  _lastDirectory = QFileInfo(path).absolutePath();
  QString error;
  if (!Analysis::writeStudy(path, _results, _inputs->names, tablePrecision, false, &error))
    Prompt::critical(this, tr("Error"), error);
}

void ConvergenceDialog::exportPlot()
{
  QString path = Prompt::getSaveFileName(this, tr("Export convergence plot"), _lastDirectory,
                                         AppConstants::filter(AppConstants::pngFilter));
  if (path.isEmpty())
    return;
  if (QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + QLatin1String(AppConstants::pngSuffix);
  _lastDirectory = QFileInfo(path).absolutePath();
  QString error;
  if (!ExportRunner::savePicture(ui->convergencePlot->grab(), path, error))
    Prompt::critical(this, tr("Error"), error);
}
