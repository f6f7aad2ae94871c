#pragma once

// Speech through Qt TextToSpeech (speech-dispatcher or flite here, the platform's own engine
// elsewhere). The engine is connected on first use and kept for the rest of the run; a failed
// connection is tried again by the next operation, so a system that cannot speak reports it
// every time.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVoice>
#include <memory>

#include "ui/Ports.h"

class QTextToSpeech;

namespace ui {

class TQtSpeechVoice : public ISpeechVoice {
 public:
  // Tries the platform's default engine first, then every other engine installed.
  TQtSpeechVoice();
  // Tries only the named engines, in this order.
  explicit TQtSpeechVoice(QStringList engines);
  ~TQtSpeechVoice() override;

  int VoiceCount() override;
  // "name - language (territory)".
  QString VoiceDescription(int index) override;
  void SetVoice(int index) override;
  // Purging stops what is being said; any text is then spoken in the background.
  void Speak(const QString& text, int flags) override;

 private:
  QTextToSpeech& Engine();
  void ThrowIfFailed(QTextToSpeech& engine);
  const QVoice& VoiceAt(int index) const;

  QStringList engines_;
  bool defaultFirst_ = false;
  std::unique_ptr<QTextToSpeech> engine_;
  QList<QVoice> voices_;  // as of the last listing, so indexes stay stable
  QString signalled_;     // error the engine signalled during the current call
};

}  // namespace ui
