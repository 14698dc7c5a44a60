#pragma once
// Dialog units: a template's positions and sizes are in quarters of the
// dialog font's average character width and eighths of its height, as the
// framework measured them.

#include <QFont>
#include <QRect>
#include <string>

namespace qov {

// The font a template names, on this system: "ＭＳ Ｐゴシック" is IPAPGothic,
// "ＭＳ ゴシック" IPAGothic; otherwise, or when those are missing, any font
// with Japanese glyphs. `pointSize` at the screen's resolution.
QFont DialogFont(const std::string& fontName, int pointSize);

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  // Average width of the letters A–Z and a–z, rounded; the font's height.
  int ToPixelsX(int dlu) const;
  int ToPixelsY(int dlu) const;
  QRect ToPixels(int x, int y, int cx, int cy) const;

 private:
  int m_baseX;
  int m_baseY;
};

}  // namespace qov
