// Saves a picture of an X window, or of the whole screen, as PNG and prints its width, height
// and number of distinct colours (a blank picture has one).
// usage: grab_window FILE [WINDOW_ID]

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: grab_window FILE [WINDOW_ID]\n");
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 1;
  const WId window = argc > 2 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
  const QImage image = screen->grabWindow(window).toImage();
  if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[1]), "PNG")) return 1;
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  std::printf("%d %d %lld\n", image.width(), image.height(),
              static_cast<long long>(colours.size()));
  return 0;
}
