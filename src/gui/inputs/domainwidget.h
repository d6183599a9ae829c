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
  // high > low, both finite, and a count within the shared discretization limits.
  bool isValid() override;
  QString markInvalidInput() override;
  // Shows these texts without announcing a change (a domain step undone); an
  // edit that has the focus takes its new text as the text it had at focus.
  void showTexts(const QString& low, const QString& high, const QString& discretization);
  // Enables every child: a restored session may have disabled them, as it
  // stores what a disabled parent passed on.
  void restoreEnabledStates();

  static constexpr int minCount = DataHolders::Domains::minDiscretization;
  static constexpr int maxCount = DataHolders::Domains::maxDiscretization;

protected:
  bool validateInputs(QLineEdit* changed) override;

private slots:
  void onCount_edited();

private:
  bool countAllowed() const;
  // Red border and the limits as tool tip for a count outside them (shown at
  // once when tell is set), the form's look otherwise.
  void markCount(bool tell);

  Ui::DomainWidget* ui;
  QString countTip;
};

#endif
