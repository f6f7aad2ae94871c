#pragma once

// A speech port that records every call as one line of text and answers from a script.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "ui/Ports.h"

namespace testsupport {

struct RecordingSpeech : ui::ISpeechVoice {
  QStringList voices;                  // descriptions, in the platform's order
  bool failCount = false;              // listing the voices fails
  std::optional<int> failDescription;  // reading this voice's description fails
  bool failVoice = false;              // assigning a voice fails
  bool failSpeak = false;              // every Speak fails
  std::vector<std::string> calls;      // "count", "describe 1", "voice 1", "speak 2 'text'"

  int VoiceCount() override {
    calls.push_back("count");
    if (failCount) throw ui::EPlatformError("cannot list voices");
    return static_cast<int>(voices.size());
  }
  QString VoiceDescription(int index) override {
    calls.push_back("describe " + std::to_string(index));
    if (failDescription == index) throw ui::EPlatformError("cannot describe voice");
    return voices.at(index);
  }
  void SetVoice(int index) override {
    calls.push_back("voice " + std::to_string(index));
    if (failVoice) throw ui::EPlatformError("cannot use the voice");
  }
  void Speak(const QString& text, int flags) override {
    calls.push_back("speak " + std::to_string(flags) + " '" + text.toStdString() + "'");
    if (failSpeak) throw ui::EPlatformError("No audio device available");
  }
};

}  // namespace testsupport
