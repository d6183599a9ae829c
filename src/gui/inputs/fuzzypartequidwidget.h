#ifndef QUELMORA_FUZZYPARTEQUIDWIDGET_H
#define QUELMORA_FUZZYPARTEQUIDWIDGET_H

#include "gui/inputs/partitionwidgetbase.h"

class QwtPlotMarker;
namespace Ui {
class FuzzyPartEquidWidget;
}

// The widget of PartitionKind::Generic (record FuzzyEq, action actionEquidistant).
// Generic Ruspini partition: a number of components laid out equidistantly,
// whose nodes the user then drags, adds (Ctrl+left click) and removes
// (Ctrl+right click) on the partition plot.
class FuzzyPartEquidWidget : public PartitionWidgetBase
{
  Q_OBJECT

public:
  explicit FuzzyPartEquidWidget(const QSharedPointer<DataHolders::Partitions::FuzzyEq>& record,
                                const QString& name = QStringLiteral("EquidPart"),
                                QWidget* parent = nullptr);
  ~FuzzyPartEquidWidget() override;

  // componentCount > 1.
  bool isValid() override;
  QString markInvalidInput() override;
  // A limit below the count lowers it; a later limit that allows it again
  // brings back the count the user chose last.
  void setMaxComponents(int n) override;
  int maxComponents() const;

  using PartitionWidgetBase::setDomainData;
  void setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain) override;

protected slots:
  void onShape_changed(int32_t shape);
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
  DataHolders::Partitions::FuzzyEq& eq() const;
  // Steps the components spin box without starting a fresh layout.
  void stepComponents(int steps);
  void connectNodesSpin();

  Ui::FuzzyPartEquidWidget* ui;
  bool regenerate = false;
  QMetaObject::Connection nodesSpinConnection;
  bool limiting = false;
};

#endif
