// Loaded into the program by the end-to-end tests (LD_PRELOAD), never shipped: writes every
// message box the program shows, as it shows it, one JSON line each, to the file named by
// QINGHE_E2E_BOXES. A box's text is not readable from outside the process on X11.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>

namespace {

class TBoxProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched)) Write(*box);
    }
    return false;
  }

 private:
  static void Write(const QMessageBox& box) {
    QJsonArray buttons;
    for (QAbstractButton* b : box.buttons()) buttons.append(b->text());
    const QJsonObject line{
        {"title", box.windowTitle()},
        {"text", box.text()},
        {"icon", static_cast<int>(box.icon())},
        {"buttons", buttons},
        {"default", box.defaultButton() != nullptr ? box.defaultButton()->text() : QString()},
        {"escape", box.escapeButton() != nullptr ? box.escapeButton()->text() : QString()},
    };
    QFile file(qEnvironmentVariable("QINGHE_E2E_BOXES"));
    if (file.open(QIODevice::Append)) {
      file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    }
  }
};

void InstallBoxProbe() {
  if (qEnvironmentVariableIsEmpty("QINGHE_E2E_BOXES")) return;
  QCoreApplication::instance()->installEventFilter(new TBoxProbe(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallBoxProbe)
