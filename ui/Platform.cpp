#include "ui/Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include "ui/Gbk.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
// clang-format on
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace ui {

void KeepFreedMemory() {
#ifdef __GLIBC__
  // Fixed values also turn off the library's own adjusting of both. Blocks below the mapping
  // threshold come from the heap and are reused; the heap is trimmed only beyond the trim
  // threshold, well above the few tens of megabytes the program holds.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

namespace {

// A message box that places itself in the middle of the screen once its size is known.
class TCentredMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
};

struct TDialogLook {
  const char* caption;
  QMessageBox::Icon icon;
};

TDialogLook LookOf(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return {"警告", QMessageBox::Warning};
    case DialogType::Error:
      return {"错误", QMessageBox::Critical};
    case DialogType::Information:
      return {"提示", QMessageBox::Information};
    case DialogType::Confirmation:
      return {"确认", QMessageBox::Question};
  }
  return {"", QMessageBox::NoIcon};
}

}  // namespace

int TQtDialogs::MessageDlg(const std::string& text, DialogType type, DialogButtons buttons) {
  const TDialogLook look = LookOf(type);
  TCentredMessageBox box(look.icon, QString::fromUtf8(look.caption), FromGbk(text));
  box.setTextFormat(Qt::PlainText);
  if (buttons == DialogButtons::YesNo) {
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    // The close box counts as the Esc button.
    return box.clickedButton() == yes ? mrYes : mrNo;
  }
  QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return mrOK;
}

void TQtDialogs::ErrorBox(const std::string& caption, const std::string& text) {
  TCentredMessageBox box(QMessageBox::Critical, FromGbk(caption), FromGbk(text));
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void TQtUrlOpener::Open(const std::string& address) {
  // The address carries no blanks or raw bytes of its own, so the tolerant parse keeps it as is.
  QDesktopServices::openUrl(QUrl(FromGbk(address), QUrl::TolerantMode));
}

TApplicationEvents::TApplicationEvents(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeEventFilter(this);
  }
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
  if (OnMessage && watched->isWidgetType()) return OnMessage(watched, event);
  return false;
}

#ifdef _WIN32

namespace {

// A shell link object of the Windows shell, saved through its IPersistFile.
class TWinShellLink : public IShellLink {
 public:
  TWinShellLink() {
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link_)))) {
      throw EPlatformError("Cannot create the shell link object");
    }
    if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_)))) {
      link_->Release();
      throw EPlatformError("The shell link object offers no IPersistFile");
    }
  }
  ~TWinShellLink() override {
    file_->Release();
    link_->Release();
  }
  void SetPath(const std::string& target) override { link_->SetPath(target.c_str()); }
  void SetWorkingDirectory(const std::string& dir) override {
    link_->SetWorkingDirectory(dir.c_str());
  }
  bool Save(const std::string& path) override {
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    return file_->Save(wide.c_str(), FALSE) == S_OK;
  }

 private:
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

}  // namespace

std::unique_ptr<IShellLink> TDesktopShellLinks::CreateLink() {
  return std::make_unique<TWinShellLink>();
}

std::optional<std::string> TDesktopShellLinks::SpecialFolderPath(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items))) return std::nullopt;
  char path[MAX_PATH] = {};
  const BOOL ok = SHGetPathFromIDListA(items, path);
  CoTaskMemFree(items);
  if (!ok) return std::nullopt;
  return std::string(path);
}

#else

namespace {

// Escapes for a value of type string in a desktop entry.
std::string EscapeValue(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case ' ':
        out += i == 0 ? "\\s" : " ";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// One argument of Exec: quoted, with the characters the quoting reserves escaped, then escaped
// again as a string value; "%" starts a field code, so a literal one is doubled.
std::string ExecWord(const std::string& utf8) {
  std::string quoted = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EscapeValue(quoted);
}

std::string Utf8(const std::string& gbk) { return FromGbk(gbk).toUtf8().toStdString(); }

// Desktops that ask before starting an entry on the desktop (GNOME's file manager) skip the
// question for a trusted one; where gio or its metadata store is missing, nothing happens.
void MarkTrusted(const QString& file) {
  QProcess gio;
  gio.start(QStringLiteral("gio"), {QStringLiteral("set"), file,
                                    QStringLiteral("metadata::trusted"), QStringLiteral("true")});
  if (!gio.waitForFinished(3000)) {
    gio.kill();
    gio.waitForFinished(1000);
  }
}

// A desktop entry that starts the target in its own folder.
class TDesktopEntryLink : public IShellLink {
 public:
  void SetPath(const std::string& target) override { target_ = target; }
  void SetWorkingDirectory(const std::string& dir) override { dir_ = dir; }
  bool Save(const std::string& path) override {
    static constexpr std::string_view kLnk = ".lnk";
    std::string file = path;
    if (file.size() >= kLnk.size() &&
        file.compare(file.size() - kLnk.size(), kLnk.size(), kLnk) == 0) {
      file.erase(file.size() - kLnk.size());
    }
    const std::size_t slash = file.rfind('/');
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    file += ".desktop";
    const std::string local = GbkToLocalPath(file);
    if (!WriteAll(local, DesktopEntryText(name, target_, dir_))) return false;
    MarkTrusted(QFile::decodeName(local.c_str()));
    return true;
  }

 private:
  static bool WriteAll(const std::string& local, const std::string& text) {
    const int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0755) == 0;
    std::size_t done = 0;
    while (ok && done < text.size()) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0)
        ok = false;
      else
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) ok = false;
    return ok;
  }

  std::string target_;
  std::string dir_;
};

}  // namespace

std::string DesktopEntryIcon() {
  // Our own icon where the package installed it, else the theme's generic dictionary.
  const QString ours =
      QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                             QStringLiteral("icons/hicolor/scalable/apps/qinghe-dict.svg"));
  return ours.isEmpty() ? "accessories-dictionary" : "qinghe-dict";
}

std::string DesktopEntryText(const std::string& name, const std::string& target,
                             const std::string& workingDir) {
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=" + EscapeValue(Utf8(name)) + "\n";
  text += "Exec=" + ExecWord(Utf8(target)) + "\n";
  text += "Path=" + EscapeValue(Utf8(workingDir)) + "\n";
  text += "Icon=" + DesktopEntryIcon() + "\n";
  text += "Terminal=false\n";
  return text;
}

std::unique_ptr<IShellLink> TDesktopShellLinks::CreateLink() {
  return std::make_unique<TDesktopEntryLink>();
}

std::optional<std::string> TDesktopShellLinks::SpecialFolderPath(int csidl) {
  QString path;
  if (csidl == 0) {
    path = DesktopFolder();
  } else if (csidl == 26) {
    path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  }
  if (path.isEmpty()) return std::nullopt;
  return ToGbk(path);
}

QString DesktopFolder() {
  // The desktop environment's own name for the folder ("桌面", "Schreibtisch", ...), then Qt's
  // reading of the same user-dirs.dirs, which copes with folder names the helper's shell
  // script splits at blanks.
  QStringList candidates;
  QProcess helper;
  helper.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
  if (helper.waitForFinished(3000) && helper.exitStatus() == QProcess::NormalExit &&
      helper.exitCode() == 0) {
    candidates << QString::fromLocal8Bit(helper.readAllStandardOutput()).trimmed();
  } else {
    helper.kill();
    helper.waitForFinished(1000);
  }
  candidates << QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  // The home folder stands for no desktop. A name GBK cannot hold ("Área de trabalho") would
  // not survive the shortcut's GBK path, so the menu takes the entry then too.
  const QDir home(QDir::homePath());
  for (const QString& desktop : candidates) {
    if (!desktop.isEmpty() && QDir(desktop) != home && QFileInfo(desktop).isDir() &&
        FromGbk(ToGbk(desktop)) == desktop) {
      return QDir::cleanPath(desktop);
    }
  }
  // Without a desktop the entry goes to the application menu instead of nowhere.
  const QString menu = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
  if (menu.isEmpty() || !QDir().mkpath(menu)) return {};
  return QDir::cleanPath(menu);
}

#endif

}  // namespace ui
