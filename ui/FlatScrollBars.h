#pragma once

class QAbstractScrollArea;

namespace ui {

// Gives the area's scroll bars solid fills. The stock style paints them with gradients, and
// Qt's raster engine splits every tall gradient fill over its thread pool: each keystroke that
// changes a list's or a page's length paid dozens of thread hand-overs for two scroll bars.
void UseFlatScrollBars(QAbstractScrollArea& area);

}  // namespace ui
