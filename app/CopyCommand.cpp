#include "app/lexora.h"
#include "ui/EmbeddedWB.h"
#include "ui/Gbk.h"

void Tflexora::ToolButton2Click() {
  if (Services().clipboard == nullptr) throw ui::EPlatformError("No clipboard is available");
  EmbeddedWB1->ExecSelectAll();
  EmbeddedWB1->ExecCopy(*Services().clipboard);
  Services().dialogs->MessageDlg(ui::Gbk("已经成功复制到剪贴板！发给你的好友吧"),
                                 ui::DialogType::Information, ui::DialogButtons::OK);
}
