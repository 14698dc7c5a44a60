#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Clipboard.h"
#include "platform/qt/DibImage.h"

namespace qov {
namespace {

CGlobalOwner BlockFromBytes(const QByteArray& bytes) {
  std::size_t bitsOffset = 0;
  const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
  const auto size = static_cast<std::size_t>(bytes.size());
  if (!IsWholeDib(data, size, &bitsOffset))
    return nullptr;
  CGlobalOwner block = GlobalAllocOwned(GHND, size);
  if (!block)
    return nullptr;
  CGlobalLock lock(block.get());
  std::memcpy(lock.get(), data, size);
  return block;
}

QImage ImageFromMimeData(const QMimeData& mime) {
  if (mime.hasImage()) {
    QImage image = qvariant_cast<QImage>(mime.imageData());
    if (!image.isNull())
      return image;
  }
  for (const QString& format : mime.formats()) {
    if (!format.startsWith(QLatin1String("image/")))
      continue;
    QImage image = QImage::fromData(mime.data(format));
    if (!image.isNull())
      return image;
  }
  return {};
}

QImage ImageFromBlock(HGLOBAL h) {
  CGlobalLock lock(h);
  std::size_t bitsOffset = 0;
  if (!lock || !IsWholeDib(lock.get(), lock.size(), &bitsOffset))
    return {};
  const auto* p = lock.get();
  QRect drawn;
  return DibPartToImage({p, p + bitsOffset, 0, 1 << 30}, QRect(0, 0, 1 << 30, 1 << 30), &drawn);
}

constexpr const char* kQtImageType = "application/x-qt-image";

// The picture as the clipboard holds it: the block itself, converted only
// into the format that a program asks for, when it asks. A copy so costs no
// memory beside the block, however large the picture.
class DibMimeData : public QMimeData {
 public:
  explicit DibMimeData(CGlobalOwner&& block) : m_block(std::move(block)) {}

  HGLOBAL block() const { return m_block.get(); }

  QStringList formats() const override {
    return {QString::fromLatin1(QtClipboard::kDibMimeType), QString::fromLatin1(kQtImageType)};
  }
  bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

 protected:
  QVariant retrieveData(const QString& mimeType, QMetaType) const override {
    if (mimeType == QLatin1String(kQtImageType))
      return ImageFromBlock(m_block.get());
    if (mimeType != QLatin1String(QtClipboard::kDibMimeType))
      return {};
    CGlobalLock lock(m_block.get());
    return QByteArray(reinterpret_cast<const char*>(lock.get()),
                      static_cast<qsizetype>(lock.size()));
  }

 private:
  CGlobalOwner m_block;
};

}  // namespace

CGlobalOwner DibFromMimeData(const QMimeData& mime) {
  if (mime.hasFormat(QtClipboard::kDibMimeType)) {
    if (CGlobalOwner block = BlockFromBytes(mime.data(QtClipboard::kDibMimeType)))
      return block;
  }
  return ImageToDib24(ImageFromMimeData(mime));
}

QtClipboard::~QtClipboard() {
  DropReadBlock();
}

void QtClipboard::DropReadBlock() {
  m_read = nullptr;
}

bool QtClipboard::Open() {
  if (m_bOpen)
    return false;
  m_bOpen = true;
  return true;
}

bool QtClipboard::Close() {
  if (!m_bOpen)
    return false;
  DropReadBlock();
  m_bOpen = false;
  return true;
}

bool QtClipboard::Empty() {
  if (!m_bOpen)
    return false;
  DropReadBlock();
  QGuiApplication::clipboard()->clear();
  return true;
}

HGLOBAL QtClipboard::Get(UINT format) {
  if (!m_bOpen || format != CF_DIB)
    return nullptr;
  DropReadBlock();
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  // Our own copy is read where it lies, without a conversion.
  if (const auto* own = dynamic_cast<const DibMimeData*>(mime))
    return own->block();
  if (mime)
    m_read = DibFromMimeData(*mime);
  return m_read.get();
}

bool QtClipboard::Set(UINT format, CGlobalOwner&& block) {
  if (!m_bOpen || format != CF_DIB || !block)
    return false;
  QGuiApplication::clipboard()->setMimeData(new DibMimeData(std::move(block)));
  return true;
}

bool QtClipboard::IsAvailable(UINT format) const {
  if (format != CF_DIB)
    return false;
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime)
    return false;
  if (mime->hasFormat(kDibMimeType) || mime->hasImage())
    return true;
  const QStringList formats = mime->formats();
  return std::any_of(formats.begin(), formats.end(),
                     [](const QString& f) { return f.startsWith(QLatin1String("image/")); });
}

}  // namespace qov
