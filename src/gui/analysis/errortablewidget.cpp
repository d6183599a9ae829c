#include "gui/analysis/errortablewidget.h"

#include "gui/analysis/errormonitor.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/plotwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/fce/mathfn.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

// Reads the monitor's rows; the function names are looked up when a cell is
// drawn, so a curve renamed after the computation shows its new name.
class ErrorTableModel : public QAbstractTableModel
{
  // Its texts are its own, not those of the base class.
  Q_DECLARE_TR_FUNCTIONS(ErrorTableModel)

public:
  enum Column { FunctionColumn, DegreeColumn, MaxAbsColumn, RmseColumn, ArgMaxColumn, ColumnCount };

  explicit ErrorTableModel(ErrorMonitor* source, QObject* parent)
      : QAbstractTableModel(parent), monitor(source)
  {
    connect(source, &ErrorMonitor::updated, this, [this](bool rowsChanged) {
      if (rowsChanged) {
        beginResetModel();
        endResetModel();
      } else if (rowCount() > 0) {
        emit dataChanged(index(0, MaxAbsColumn), index(rowCount() - 1, ArgMaxColumn));
      }
    });
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override
  {
    return parent.isValid() ? 0 : monitor->rows().size();
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override
  {
    return parent.isValid() ? 0 : ColumnCount;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override
  {
    if (orientation != Qt::Horizontal)
      return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {QT_TR_NOOP("Function"), QT_TR_NOOP("Degree"),
                                         QT_TR_NOOP("MaxAbs"), QT_TR_NOOP("RMSE"),
                                         QT_TR_NOOP("ArgMax")};
    static const char* const tips[] = {
        QT_TR_NOOP("The function f"), QT_TR_NOOP("Degree d of the inverse F-transform F_d"),
        QT_TR_NOOP("Largest |f(x) - F_d(x)| over the points where both are finite"),
        QT_TR_NOOP("Root mean square of f(x) - F_d(x) over the same points"),
        QT_TR_NOOP("The first point x where |f(x) - F_d(x)| is largest")};
    if (section < 0 || section >= ColumnCount)
      return {};
    if (role == Qt::DisplayRole)
      return tr(titles[section]);
    if (role == Qt::ToolTipRole)
      return tr(tips[section]);
    return {};
  }

  QVariant data(const QModelIndex& index, int role) const override
  {
    if (!index.isValid() || index.row() >= monitor->rows().size())
      return {};
    const ErrorMonitor::Row& r = monitor->rows().at(index.row());
    if (role == Qt::TextAlignmentRole)
      return index.column() >= DegreeColumn ? int(Qt::AlignRight | Qt::AlignVCenter)
                                            : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
      return {};
    const int digits = role == Qt::DisplayRole ? 6 : 17;
    switch (index.column()) {
    case FunctionColumn:
      return name(r.fn);
    case DegreeColumn:
      return QString::number(DataHolders::degreeName(r.flag).toInt());
    case MaxAbsColumn:
      return number(r.error.maxAbs, digits);
    case RmseColumn:
      return number(r.error.rmse, digits);
    case ArgMaxColumn:
      return number(r.error.argMax, digits);
    default:
      return {};
    }
  }

private:
  static QString number(double v, int digits)
  {
    return std::isnan(v) ? QStringLiteral("NaN") : QString::number(v, 'g', digits);
  }

  // The legend name of the function's curve, as the plot shows it.
  QString name(const ErrorMonitor::Function* fn) const
  {
    const FtransformWidget* c = monitor->controller();
    const CurveInfoBase* info = c ? c->plotWidget()->curveInfo(fn) : nullptr;
    if (info && !info->name().isEmpty())
      return info->name();
    const int i = c ? c->functions().indexOf(const_cast<ErrorMonitor::Function*>(fn)) : -1;
    return tr("Function %1").arg(i + 1);
  }

  ErrorMonitor* monitor;
};

ErrorTableWidget::ErrorTableWidget(ErrorMonitor* monitor, QWidget* parent)
    : QWidget(parent), _monitor(monitor), _model(new ErrorTableModel(monitor, this)),
      _view(new QTableView(this))
{
  _view->setObjectName(QStringLiteral("errorTableView"));
  _view->setAccessibleName(tr("Approximation error"));
  _view->setToolTip(tr("MaxAbs, RMSE and ArgMax of f - F_d for every function and shown degree"));
  _view->setModel(_model);
  _view->setSelectionBehavior(QAbstractItemView::SelectRows);
  _view->verticalHeader()->hide();
  _view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  _view->horizontalHeader()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(_view);
}

QSize ErrorTableWidget::sizeHint() const
{
  const QFontMetrics fm(_view->font());
  const int padding = fm.horizontalAdvance(QLatin1Char('M'));
  const int number = fm.horizontalAdvance(QStringLiteral("0.0000000")) + padding;
  const int width = fm.horizontalAdvance(QStringLiteral("Function 1")) +
                    fm.horizontalAdvance(QStringLiteral("Degree")) + 2 * padding + 3 * number +
                    2 * _view->frameWidth();
  return QSize(width, QWidget::sizeHint().height());
}

ErrorTableWidget::~ErrorTableWidget()
{
  if (_monitor)
    _monitor->setWanted(this, false);
}

void ErrorTableWidget::showEvent(QShowEvent* event)
{
  if (_monitor)
    _monitor->setWanted(this, true);
  QWidget::showEvent(event);
}

void ErrorTableWidget::hideEvent(QHideEvent* event)
{
  if (_monitor)
    _monitor->setWanted(this, false);
  QWidget::hideEvent(event);
}
