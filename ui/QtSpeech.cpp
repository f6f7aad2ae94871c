#include "ui/QtSpeech.h"

#include <QLocale>
#include <QTextToSpeech>
#include <utility>

#include "ui/Gbk.h"

namespace ui {

namespace {

[[noreturn]] void Fail(const QString& message) { throw EPlatformError(ToGbk(message)); }

// An engine that is up but already knows it cannot speak (flite finds no audio output when it
// starts) is as unusable as one that failed to start. flite also leaves an initialisation
// reason without any text behind when it starts fine and speaks; that one does not count.
bool Usable(const QTextToSpeech& engine) {
  return engine.state() != QTextToSpeech::Error &&
         (engine.errorReason() == QTextToSpeech::ErrorReason::NoError ||
          engine.errorString().isEmpty());
}

QString ErrorText(const QTextToSpeech& engine) {
  return engine.errorString().isEmpty() ? QStringLiteral("The speech engine failed")
                                        : engine.errorString();
}

}  // namespace

TQtSpeechVoice::TQtSpeechVoice() : defaultFirst_(true) {}

TQtSpeechVoice::TQtSpeechVoice(QStringList engines) : engines_(std::move(engines)) {}

TQtSpeechVoice::~TQtSpeechVoice() = default;

QTextToSpeech& TQtSpeechVoice::Engine() {
  if (engine_) return *engine_;
  QStringList names = engines_;
  if (defaultFirst_) {
    // The empty name stands for the platform's default engine.
    names = QTextToSpeech::availableEngines();
    names.prepend(QString());
  }
  QStringList failures;
  QString defaultName;
  for (const QString& name : names) {
    if (!name.isEmpty() && name == defaultName) continue;
    auto engine =
        name.isEmpty() ? std::make_unique<QTextToSpeech>() : std::make_unique<QTextToSpeech>(name);
    if (name.isEmpty()) defaultName = engine->engine();
    if (Usable(*engine)) {
      QObject::connect(
          engine.get(), &QTextToSpeech::errorOccurred, engine.get(),
          [this](QTextToSpeech::ErrorReason, const QString& text) { signalled_ = text; });
      engine_ = std::move(engine);
      return *engine_;
    }
    const QString label = engine->engine().isEmpty() ? name : engine->engine();
    const QString reason =
        engine->errorString().isEmpty() ? QStringLiteral("not available") : engine->errorString();
    failures << (label.isEmpty() ? reason : label + QStringLiteral(": ") + reason);
  }
  if (failures.isEmpty()) Fail(QStringLiteral("No text-to-speech engine is installed"));
  Fail(failures.join(QStringLiteral("; ")));
}

void TQtSpeechVoice::ThrowIfFailed(QTextToSpeech& engine) {
  const QString signalled = std::exchange(signalled_, QString());
  if (!signalled.isEmpty()) Fail(signalled);
  if (engine.state() == QTextToSpeech::Error) Fail(ErrorText(engine));
}

const QVoice& TQtSpeechVoice::VoiceAt(int index) const {
  if (index < 0 || index >= voices_.size()) {
    throw EPlatformError("No voice number " + std::to_string(index));
  }
  return voices_[index];
}

int TQtSpeechVoice::VoiceCount() {
  QTextToSpeech& engine = Engine();
  voices_ = engine.availableVoices();
  ThrowIfFailed(engine);
  return static_cast<int>(voices_.size());
}

QString TQtSpeechVoice::VoiceDescription(int index) {
  Engine();
  const QVoice& voice = VoiceAt(index);
  const QLocale locale = voice.locale();
  return voice.name() + QStringLiteral(" - ") + QLocale::languageToString(locale.language()) +
         QStringLiteral(" (") + QLocale::territoryToString(locale.territory()) +
         QStringLiteral(")");
}

void TQtSpeechVoice::SetVoice(int index) {
  QTextToSpeech& engine = Engine();
  const QVoice voice = VoiceAt(index);
  engine.setVoice(voice);
  ThrowIfFailed(engine);
  if (!(engine.voice() == voice)) Fail(QStringLiteral("Cannot use the voice ") + voice.name());
}

void TQtSpeechVoice::Speak(const QString& text, int flags) {
  QTextToSpeech& engine = Engine();
  // The engine speaks on its own; a failure it signalled after the last call returned is
  // reported now rather than lost.
  QString earlier = std::exchange(signalled_, QString());
  if (earlier.isEmpty() && engine.state() == QTextToSpeech::Error) earlier = ErrorText(engine);
  if (flags & SVSFPurgeBeforeSpeak) engine.stop(QTextToSpeech::BoundaryHint::Immediate);
  if (!earlier.isEmpty()) Fail(earlier);
  if (!text.isEmpty()) engine.say(text);
  ThrowIfFailed(engine);
}

}  // namespace ui
