#include "entry/Voice.h"

#include <cstddef>
#include <string>

#include "store/GbkChars.h"
#include "ui/Gbk.h"
#include "ui/Ports.h"

namespace entry {

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

}  // namespace

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

}  // namespace entry
