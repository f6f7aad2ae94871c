#include <cstddef>
#include <string>

#include "app/lexora.h"
#include "search/Query.h"
#include "store/GbkChars.h"
#include "ui/Gbk.h"

namespace {

// Voice descriptions are tested in lower case, and only the ASCII letters are folded: the
// second byte of a double-byte character stays as it is, even where it looks like a capital.
std::string LowerAscii(std::string text) {
  for (std::size_t i = 0; i < text.size(); i += gbk::CharLen(text, i)) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 'A' && byte <= 'Z') text[i] = static_cast<char>(byte - 'A' + 'a');
  }
  return text;
}

// Picks the first listed voice whose description names either preferred voice; none found
// leaves the platform's default voice.
void ChooseVoice(ui::ISpeechVoice& voice) {
  const int count = voice.VoiceCount();
  for (int i = 0; i < count; ++i) {
    const std::string description = LowerAscii(ui::ToGbk(voice.VoiceDescription(i)));
    if (description.find("microsoft anna") != std::string::npos ||
        description.find("microsoft sam") != std::string::npos) {
      voice.SetVoice(i);
      break;
    }
  }
}

}  // namespace

void Tflexora::ToolButton1Click() {
  if (SpVoice1 == nullptr) throw ui::EPlatformError("No speech service is available");
  if (!LookupState.VoiceChosen) {
    ChooseVoice(*SpVoice1);
    // Set only after the choice ran to its end, so a failed choice is tried again next time.
    LookupState.VoiceChosen = true;
  }
  // The purge comes before the blank test: a click always silences what is being said.
  SpVoice1->Speak(QString(), ui::SVSFPurgeBeforeSpeak);
  if (search::TrimBlank(LookupState.CurrentWord).empty()) return;
  SpVoice1->Speak(ui::FromGbk(LookupState.CurrentWord), ui::SVSFlagsAsync);
}
