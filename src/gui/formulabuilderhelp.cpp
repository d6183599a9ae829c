#include "gui/formulabuilderhelp.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString tableHtml(const QString& caption, const QStringList& headers,
                  const QVector<FormulaBuilderHelp::Row>& rows)
{
  QString html =
      QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
                     "<tr>")
          .arg(caption.toHtmlEscaped());
  for (const QString& h : headers)
    html += QStringLiteral("<th align=\"left\">%1</th>").arg(h.toHtmlEscaped());
  html += QStringLiteral("</tr>");
  for (const auto& row : rows) {
    html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>")
                .arg(row.names.toHtmlEscaped(), row.arguments.toHtmlEscaped(),
                     row.meaning.toHtmlEscaped());
  }
  return html + QStringLiteral("</table>");
}

} // namespace

FormulaBuilderHelp::FormulaBuilderHelp(QWidget* parent) : QWidget(parent)
{
  setWindowTitle(tr("Formula Builder Help"));
  resize(620, 640);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("scrollArea"));
  scroll->setWidgetResizable(true);
  scroll->setStyleSheet(QStringLiteral("background: rgb(255, 255, 255);"));
  label = new QLabel(scroll);
  label->setObjectName(QStringLiteral("helpLbl"));
  label->setTextFormat(Qt::RichText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setMargin(8);
  label->setText(helpText());
  scroll->setWidget(label);
  layout->addWidget(scroll);
}

const QVector<FormulaBuilderHelp::Row>& FormulaBuilderHelp::functionRows()
{
  static const QVector<Row> rows = {
      {"sin, cos, tan", "1", tr("sine, cosine, tangent (argument in radians)")},
      {"asin, acos, atan", "1", tr("arc sine, arc cosine, arc tangent")},
      {"atan2", "2",
       tr("arc tangent of y / x with y given first, in the quadrant of the point (x, y)")},
      {"sinh, cosh, tanh", "1", tr("hyperbolic sine, cosine, tangent")},
      {"asinh, acosh, atanh", "1", tr("inverse hyperbolic sine, cosine, tangent")},
      {"log2", "1", tr("logarithm to base 2")},
      {"log10", "1", tr("logarithm to base 10")},
      {"ln, log", "1", tr("logarithm to base e (natural logarithm); log is the same as ln")},
      {"exp", "1", tr("e raised to the power of x")},
      {"sqrt", "1", tr("square root")},
      {"sign", "1", tr("-1 for x < 0, 0 for x = 0, 1 for x > 0")},
      {"rint", "1", tr("round to nearest integer, halves upwards: rint(2.5) = 3, rint(-2.5) = -2")},
      {"abs", "1", tr("absolute value")},
      {"min, max, sum, avg", tr("variable, at least 1"),
       tr("minimum, maximum, sum, mean of all arguments")},
      {"uniform", "2",
       tr("random number in the range [a, b), a given first, uniformly distributed")},
      {"normal", "2",
       tr("random number from the normal distribution with the mean given first and the "
          "standard deviation given second")},
  };
  return rows;
}

const QVector<FormulaBuilderHelp::Row>& FormulaBuilderHelp::binaryOperatorRows()
{
  static const QVector<Row> rows = {
      {"=", "-1", tr("assignment (only applicable to variables)")},
      {"||", "1", tr("logical or")},
      {"&&", "2", tr("logical and")},
      {"<=, >=, !=, ==, >, <", "4", tr("comparisons, giving 1 for true and 0 for false")},
      {"+, -", "5", tr("addition, subtraction")},
      {"*, /", "6", tr("multiplication, division")},
      {"^", "7", tr("raise x to the power of y, grouped from the right: 2^3^2 = 2^9")},
  };
  return rows;
}

const QVector<FormulaBuilderHelp::Row>& FormulaBuilderHelp::otherOperatorRows()
{
  static const QVector<Row> rows = {
      {"?:", "", tr("if-then-else, with the usual conditional syntax: x < 0.5 ? 0 : 1")},
  };
  return rows;
}

QString FormulaBuilderHelp::helpText()
{
  QString html = tr("<p>Formulas are expressions in the variable <b>x</b>, parsed with the "
                    "muParser library. The decimal point is '.', arguments are separated by ','; "
                    "a formula must have exactly one result, so \"1,5\" is refused.</p>");
  html += tableHtml(tr("Built-in functions"), {tr("Function"), tr("Arguments"), tr("Meaning")},
                    functionRows());
  html += tableHtml(tr("Binary operators"), {tr("Operator"), tr("Priority"), tr("Meaning")},
                    binaryOperatorRows());
  html += tr("<p>A leading minus binds less tightly than ^: -2^2 = -4.</p>");
  html += tr("<p>Constants: <b>_pi</b> and <b>_e</b>, to full double precision.</p>");
  html += tableHtml(tr("Other operators"), {tr("Operator"), QString(), tr("Meaning")},
                    otherOperatorRows());
  return html;
}
