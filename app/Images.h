#pragma once

// The program's own artwork, drawn at start-up.

#include <QIcon>

namespace app {

QIcon CopyImage();     // two overlapping sheets, 16 x 16
QIcon SpeakerImage();  // a loudspeaker with sound waves, 16 x 16
QIcon ApplicationIcon();

}  // namespace app
