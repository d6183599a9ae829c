#ifndef QUELMORA_DOMAINWIDGET_H
#define QUELMORA_DOMAINWIDGET_H

#include "gui/inputs/domainwidgetbase.h"

namespace Ui {
class DomainWidget;
}

// The domain input: interval ends and number of subintervals. It keeps no
// record; every data() builds a new DataHolders::Domains::Equid.
class DomainWidget : public DomainWidgetBase
{
  Q_OBJECT

public:
  explicit DomainWidget(QWidget* parent = nullptr);
  ~DomainWidget() override;

  QWidget* lastInputWidget() override;
  DataHolderBase data() override;
  // high > low, both finite, and a count the validator accepts (2 to 100000).
  bool isValid() override;
  QString markInvalidInput() override;
  // Shows these texts without announcing a change (a domain step undone); an
  // edit that has the focus takes its new text as the text it had at focus.
  void showTexts(const QString& low, const QString& high, const QString& discretization);

  static constexpr int minCount = 2;
  static constexpr int maxCount = 100000;

protected:
  bool validateInputs(QLineEdit* changed) override;

private:
  Ui::DomainWidget* ui;
};

#endif
