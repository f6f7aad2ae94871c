#pragma once

namespace ui {
class ISpeechVoice;
}

namespace entry {

// Picks the first listed voice whose description names either preferred voice; none found
// leaves the platform's default voice.
void ChooseVoice(ui::ISpeechVoice& voice);

}  // namespace entry
