#ifndef QUELMORA_FTRANSFORMWIDGET_H
#define QUELMORA_FTRANSFORMWIDGET_H

#include "gui/components/componenteditsowner.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "gui/inputs/widgetbase.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/transform/transformengine.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QPen>
#include <QSharedPointer>

#include <functional>
#include <memory>

class FunctionTableWidget;
class PartitionWidgetBase;
class PlotWidget;
class QTableWidgetItem;
namespace Ui {
class FtransformWidget;
}

// The centre of the main window: owns the transform engine (the math
// partition of the partition record in use and the direct and inverse
// F-transforms of the functions it is given), the configuration widget of
// that record and the main plot that shows the functions and their
// transforms. The functions and the computation domain belong to the main
// window, which must remove the functions (removeFunctions) before it deletes
// them and install a partition again (setPartition) before it deletes the
// domain.
class FtransformWidget : public WidgetBase, public ComponentEditsOwner
{
  Q_OBJECT

public:
  using Function = TransformEngine::Function;
  using FunctionMap = TransformEngine::FunctionMap;
  using PartitionRecord = TransformEngine::PartitionRecord;

  explicit FtransformWidget(QWidget* parent = nullptr);
  ~FtransformWidget() override;

  // Subintervals used to draw the partition for a canvas of that width and
  // that zoom: a multiple of 100, never below 300.
  static int paintResolution(int canvasWidth, double zoom);
  int paintResolution() const;

  // Installs a partition record (null: none) on a computation domain and the
  // configuration widget of its kind; nothing is computed for the functions
  // until addFunctions or refreshAll.
  void setPartition(const PartitionRecord& record, const Domains::EnumerationBase<double>* domain);

  void addFunctions(const QList<Function*>& fns);
  void removeFunctions(const QList<Function*>& fns);
  // Recomputes every function on the current partition (not rebuilt) and
  // announces ftransformRefreshed().
  void refreshAll();

  void setMaxDegree(int degree);
  void setVisibleDegrees(int mask);
  void setShowComponents(bool show);
  // The polynomials of degrees 1 to 3; a change recomputes everything.
  void setHigherDegreeBasis(Fn::HigherDegreeBasis basis);
  void setStyles(const QColor& background, const QPen& functionPen, const QPen& degree0,
                 const QPen& degree1, const QPen& degree2, const QPen& degree3);

  PlotWidget* plotWidget() const;
  void replot();
  // Legend names of the result curves: "InvFt0" (or "DirFt0"), followed by
  // the name of the function's own curve when more than one function is shown.
  void nameResultCurves();

  // The results, keyed by (function, degree flag): components over the
  // partition's nodes, inverses over the computation domain (shown degrees
  // only). Replaced by every recomputation but a node move, which updates
  // them in place.
  const FunctionMap& components() const { return _engine.components(); }
  const FunctionMap& inverses() const { return _engine.inverses(); }
  const QList<Function*>& functions() const { return _engine.functions(); }
  PartitionWidgetBase* partitionWidget() const { return _partitionWidget.data(); }
  PartitionRecord partitionRecord() const { return _engine.record(); }
  // The math partition of the last computation, or null when the record
  // gives none (or one that cannot be transformed).
  const Partitions::PartitionBase<double, double>* partition() const;
  const Domains::EnumerationBase<double>* domain() const { return _engine.domain(); }
  int maxDegree() const { return _engine.maxDegree(); }
  int visibleDegrees() const { return _engine.visibleDegrees(); }
  bool showComponents() const { return _showComponents; }
  Fn::HigherDegreeBasis higherDegreeBasis() const { return _engine.basis(); }
  double zoom() const { return _zoom; }
  // The numbers behind the curves.
  const TransformEngine& engine() const { return _engine; }

  // While busy the degree warning stays silent (a session being applied);
  // what the session leaves behind counts as known when it ends.
  void setBusy(bool busy)
  {
    _busy = busy;
    if (!busy)
      _degreeRisky = degreeRisky();
  }
  bool isBusy() const { return _busy; }

  // Warns when a degree above 0 comes to be shown with the closed-form bases
  // on a partition that is not made of triangles: once when the shape or the degrees change into
  // that, not again while it lasts. Silent while busy or blocked.
  void checkDegrees();

  // What the last recomputation changed (announced by ftransformRefreshed()):
  // after a node move only a range of components and of inverse values.
  const FtransformChange& lastChange() const { return _engine.lastChange(); }

  const EditedComponents& editedComponents() const { return _engine.edited(); }
  void clearEdited();
  // Replaces every edited component and recomputes everything (an undone edit).
  void setEditedComponents(const QMap<FnKey, EditedComponents::Edits>& edits);
  // Discards every edited component and recomputes everything.
  void resetEditedComponents() override;

  // Fills table with the components of the shown degrees, function by
  // function (after a node move only the rows that changed); header names a
  // function's columns.
  void showComponentTable(FunctionTableWidget* table,
                          const std::function<QString(const Function*)>& header) const;

  // Why the partition of the record is not computed for lack of memory, or "".
  QString partitionProblem() const { return _partitionProblem; }

signals:
  void ftransformRefreshed();
  // setPartition made a new configuration widget (null: none).
  void partitionWidgetChanged(PartitionWidgetBase* widget);
  // The reason above changed.
  void partitionProblemChanged(const QString& problem);

public slots:
  void onInputs_changed();
  void setZoom(double value);
  void onComponent_changed(QTableWidgetItem* item);

protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool degreeRisky() const;
  void dropPartitionWidget();
  void adaptPaintResolution();
  void rebuildPartition();
  bool moveChangedNodes();
  void recomputeAll();
  void compute(const QList<Function*>& fns);
  void showCurves(const Function* f);
  QString resultName(const QString& prefix, int flag, const Function* f) const;
  void removeCurves(const Function* f);
  void penCurve(const Function* f, const QPen& pen);

  std::unique_ptr<Ui::FtransformWidget> ui;
  TransformEngine _engine;
  QSharedPointer<PartitionWidgetBase> _partitionWidget;
  double _zoom = 1.0;
  QPen _functionPen;
  QMap<int, QPen> _degreePens;
  QColor _backgroundColor;
  bool _blocked = false;
  bool _busy = false;
  bool _degreeRisky = false;
  QString _partitionProblem;
  bool _showComponents = false;
  QSizePolicy _placeholderPolicy;
};

#endif
