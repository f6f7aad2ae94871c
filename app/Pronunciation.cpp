#include "app/lexora.h"
#include "entry/Voice.h"
#include "search/Query.h"
#include "ui/Gbk.h"

void Tflexora::ToolButton1Click() {
  if (SpVoice1 == nullptr) throw ui::EPlatformError("No speech service is available");
  if (!LookupState.VoiceChosen) {
    entry::ChooseVoice(*SpVoice1);
    // Set only after the choice ran to its end, so a failed choice is tried again next time.
    LookupState.VoiceChosen = true;
  }
  // The purge comes before the blank test: a click always silences what is being said.
  SpVoice1->Speak(QString(), ui::SVSFPurgeBeforeSpeak);
  if (search::TrimBlank(LookupState.CurrentWord).empty()) return;
  SpVoice1->Speak(ui::FromGbk(LookupState.CurrentWord), ui::SVSFlagsAsync);
}
