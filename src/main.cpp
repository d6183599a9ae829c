// Placeholder until the main window lands.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  QLabel label("Quelmora");
  label.show();
  return app.exec();
}
