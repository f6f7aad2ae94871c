#include "ui/QtSpeech.h"

namespace ui {

TQtSpeechVoice::TQtSpeechVoice() = default;
TQtSpeechVoice::~TQtSpeechVoice() = default;
int TQtSpeechVoice::VoiceCount() { return 0; }
QString TQtSpeechVoice::VoiceDescription(int) { return {}; }
void TQtSpeechVoice::SetVoice(int) {}
void TQtSpeechVoice::Speak(const QString&, int) {}

}  // namespace ui
