#ifndef QUELMORA_FTRANSFORMWIDGET_H
#define QUELMORA_FTRANSFORMWIDGET_H

#include "gui/components/componenteditsowner.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/ftransformchange.h"
#include "gui/ftransform_widgets/nodemoveupdate.h"
#include "gui/inputs/widgetbase.h"
#include "math/fce/higherdegreebasis.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QPen>
#include <QSharedPointer>

#include <memory>

class PartitionWidgetBase;
class PlotWidget;
class QTableWidgetItem;
namespace Ui {
class FtransformWidget;
}

// The centre of the main window: owns the math partition built from the
// partition record in use, the configuration widget of that record, the
// direct and inverse F-transforms of the functions it is given and the main
// plot that shows them. The functions and the computation domain belong to
// the main window, which must remove the functions (removeFunctions) before it
// deletes them and install a partition again (setPartition) before it deletes
// the domain.
class FtransformWidget : public WidgetBase, public ComponentEditsOwner
{
  Q_OBJECT

public:
  using Function = Fn::MathFn<double, double>;
  using FunctionMap = QMap<FnKey, QSharedPointer<Function>>;
  using PartitionRecord = QSharedPointer<DataHolders::Partitions::PartBase>;

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
  // only). Replaced by every recomputation.
  const FunctionMap& components() const { return _components; }
  const FunctionMap& inverses() const { return _inverses; }
  const QList<Function*>& functions() const { return _functions; }
  PartitionWidgetBase* partitionWidget() const { return _partitionWidget.data(); }
  PartitionRecord partitionRecord() const { return _partitionRecord; }
  // The math partition of the last computation, or null when the record
  // gives none (or one that cannot be transformed).
  const Partitions::PartitionBase<double, double>* partition() const;
  const Domains::EnumerationBase<double>* domain() const { return _domain; }
  int maxDegree() const { return _maxDegree; }
  int visibleDegrees() const { return _visibleDegrees; }
  bool showComponents() const { return _showComponents; }
  Fn::HigherDegreeBasis higherDegreeBasis() const { return _basis; }
  double zoom() const { return _zoom; }

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
  const FtransformChange& lastChange() const { return _lastChange; }

  const EditedComponents& editedComponents() const { return _edited; }
  void clearEdited();
  // Replaces every edited component and recomputes everything (an undone edit).
  void setEditedComponents(const QMap<FnKey, EditedComponents::Edits>& edits);
  // Discards every edited component and recomputes everything.
  void resetEditedComponents() override;

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
  class Computation;

  bool degreeRisky() const;
  void dropPartitionWidget();
  void adaptPaintResolution();
  void rebuildPartition();
  bool moveChangedNodes();
  int highestInverse() const;
  void recomputeAll();
  void compute(const QList<Function*>& fns);
  void computeComponents(Function* f, Computation& c);
  void applyEdits(const Function* f);
  void computeInverses(Function* f, Computation& c);
  void showCurves(const Function* f);
  QString resultName(const QString& prefix, int flag, const Function* f) const;
  void removeCurves(const Function* f);
  void dropResults(const Function* f);
  void penCurve(const Function* f, const QPen& pen);

  std::unique_ptr<Ui::FtransformWidget> ui;
  QList<Function*> _functions;
  FunctionMap _components;
  FunctionMap _inverses;
  PartitionRecord _partitionRecord;
  QSharedPointer<PartitionWidgetBase> _partitionWidget;
  const Domains::EnumerationBase<double>* _domain = nullptr;
  std::unique_ptr<Partitions::PartitionBase<double, double>> _partition;
  bool _transformable = false;
  // The record's layout when the partition was built: while it holds, a
  // change of node positions moves the nodes instead of rebuilding.
  PartitionLayout _layout;
  FtransformChange _lastChange;
  double _zoom = 1.0;
  QPen _functionPen;
  QMap<int, QPen> _degreePens;
  QColor _backgroundColor;
  bool _blocked = false;
  bool _busy = false;
  bool _degreeRisky = false;
  QString _partitionProblem;
  bool _showComponents = false;
  Fn::HigherDegreeBasis _basis = Fn::HigherDegreeBasis::Orthogonal;
  EditedComponents _edited;
  int _maxDegree = 1;
  int _visibleDegrees = 3;
  QSizePolicy _placeholderPolicy;
};

#endif
