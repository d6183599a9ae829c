#ifndef QUELMORA_FUZZYPARTDELTAWIDGET_H
#define QUELMORA_FUZZYPARTDELTAWIDGET_H

#include "gui/inputs/partitionwidgetbase.h"

class QDoubleValidator;
class QwtPlotMarker;
namespace Ui {
class FuzzyPartDeltaWidget;
}

// The widget of PartitionKind::Custom (record FuzzyDelta, action actionPartDelta).
// Custom partition: basic functions of one width ("Variance") on freely placed
// nodes, first laid out "Element width" apart. Nodes are dragged, added
// (Ctrl+left click) and removed (Ctrl+right click) on the partition plot.
class FuzzyPartDeltaWidget : public PartitionWidgetBase
{
  Q_OBJECT

public:
  explicit FuzzyPartDeltaWidget(const QSharedPointer<DataHolders::Partitions::FuzzyDelta>& record,
                                const QString& name = QStringLiteral("DeltaPart"),
                                QWidget* parent = nullptr);
  ~FuzzyPartDeltaWidget() override;

  // delta > 0 and extraParam > 0, their edits usable.
  bool isValid() override;
  QString markInvalidInput() override;

  using PartitionWidgetBase::setDomainData;

public slots:
  void setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain) override;

protected slots:
  void onAddMarker(const QPoint& pos);
  void onRemoveMarker(const QPoint& pos);

public slots:
  void onInputsChanged(int v = 0) override;

protected slots:
  void onNode_moved(QwtPlotMarker* marker = nullptr);
  void onNode_moved(size_t index, double value);

protected:
  void updateData() override;
  QVector<double> layoutNodes() override;

private:
  DataHolders::Partitions::FuzzyDelta& fd() const;
  // Validator bounds of the width and the variance from the domain; clamps and shows both.
  void updateBounds();

  Ui::FuzzyPartDeltaWidget* ui;
  bool regenerate = false;
  QDoubleValidator* deltaValidator;
  QDoubleValidator* varianceValidator;
};

#endif
