#pragma once

// Speech through Qt TextToSpeech; the engine is connected on first use, once per run.

#include "ui/Ports.h"

namespace ui {

class TQtSpeechVoice : public ISpeechVoice {
 public:
  TQtSpeechVoice();
  ~TQtSpeechVoice() override;

  int VoiceCount() override;
  QString VoiceDescription(int index) override;
  void SetVoice(int index) override;
  void Speak(const QString& text, int flags) override;
};

}  // namespace ui
