#include "IconImage.h"

#include <QBuffer>
#include <QImageReader>

namespace sentravex {
namespace {

// Twice the largest entry an .icns holds.
constexpr int largestSide = 2048;

} // namespace

QPixmap iconPixmap(const std::string& bytes, int side) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > largestSide || size.height() > largestSide))
        return {};
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return QPixmap::fromImage(
        image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace sentravex
