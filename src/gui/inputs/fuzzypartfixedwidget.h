#ifndef QUELMORA_FUZZYPARTFIXEDWIDGET_H
#define QUELMORA_FUZZYPARTFIXEDWIDGET_H

#include "gui/inputs/partitionwidgetbase.h"

#include <vector>

class QDoubleValidator;
namespace Ui {
class FuzzyPartFixedWidget;
}

// The widget of PartitionKind::Equidistant (record FuzzyPt, action actionFixedPT).
// Equidistant Ruspini partition: nodes h apart around a fixed point. The nodes
// follow from the inputs, so the controller locks them on the plot.
class FuzzyPartFixedWidget : public PartitionWidgetBase
{
  Q_OBJECT

public:
  explicit FuzzyPartFixedWidget(const QSharedPointer<DataHolders::Partitions::FuzzyPt>& record,
                                const QString& name = QStringLiteral("FixedPart"),
                                QWidget* parent = nullptr);
  ~FuzzyPartFixedWidget() override;

  // partElementWidth > 0 (and its edit usable) and low <= fixedPoint <= high:
  // a node at a domain end is a sound fixed point.
  bool isValid() override;
  QString markInvalidInput() override;

  // The positions the fixed-point slider can take, from low on.
  const std::vector<double>& candidates() const { return fixedPointCandidates; }
  // Takes x (pulled into the domain) as the fixed point, lays the nodes out
  // around it and puts the slider on the first candidate not less than x
  // (the last one when x lies beyond them). Used to restore a stored fixed
  // point, which the slider cannot store.
  void setFixedPoint(double x);

  using PartitionWidgetBase::setDomainData;

public slots:
  void setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain) override;

protected slots:
  void onShape_changed(int32_t shape);

public slots:
  void onInputsChanged(int v = 0) override;

protected:
  void updateData() override;
  QVector<double> layoutNodes() override;

private:
  DataHolders::Partitions::FuzzyPt& pt() const;
  void onSlider_moved(double value);
  // Validator bounds of the distance from the domain; clamps and shows it.
  void updateDistanceBounds();
  // Candidates from low up to the domain point nearest to low + k h.
  void updateCandidates();
  // Puts the slider on the first candidate not less than the fixed point.
  void placeSlider();
  void updateLabel();

  Ui::FuzzyPartFixedWidget* ui;
  QDoubleValidator* widthValidator;
  std::vector<double> fixedPointCandidates;
};

#endif
