#include "platform/qt/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace qov {
namespace {

bool HasFamily(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QString JapaneseFamily(const std::string& fontName) {
  QString preferred;
  if (fontName == "ＭＳ Ｐゴシック")
    preferred = QStringLiteral("IPAPGothic");
  if (fontName == "ＭＳ ゴシック")
    preferred = QStringLiteral("IPAGothic");
  if (!preferred.isEmpty() && HasFamily(preferred))
    return preferred;
  for (const QString& candidate : {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}) {
    if (HasFamily(candidate))
      return candidate;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.front();
}

// Rounds a × b / c to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

QFont DialogFont(const std::string& fontName, int pointSize) {
  QFont font;
  const QString family = JapaneseFamily(fontName);
  if (!family.isEmpty())
    font.setFamily(family);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * dpi / 72.0))));
  font.setStyleStrategy(QFont::PreferMatch);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int total = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_baseX = (total / 26 + 1) / 2;
  m_baseY = metrics.height();
}

int DialogUnits::ToPixelsX(int dlu) const {
  return MulDiv(dlu, m_baseX, 4);
}
int DialogUnits::ToPixelsY(int dlu) const {
  return MulDiv(dlu, m_baseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}

}  // namespace qov
